#include <cstdlib>

#include "core/PixelMemory.h"

// The C library's heap, where the system offers no large pages to ask for.
namespace pixelmemory {

bool UsesLargePages(size_t) {
    return false;
}

void* Allocate(size_t bytes) {
    return std::calloc(bytes ? bytes : 1, 1);
}

void Free(void* memory, size_t) {
    std::free(memory);
}

}  // namespace pixelmemory
