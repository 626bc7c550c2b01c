#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

#include "core/PixelMemory.h"

namespace pixelmemory {

namespace {

const size_t kLargePage = size_t{2} << 20;

size_t RoundedUp(size_t bytes) {
    return (bytes + kLargePage - 1) / kLargePage * kLargePage;
}

// Maps whole large pages, aligned to one, and trims what lies outside them.
void* MapAligned(size_t length) {
    void* mapped = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
    uintptr_t aligned = (start + kLargePage - 1) / kLargePage * kLargePage;
    if (aligned > start) munmap(mapped, aligned - start);
    size_t tail = start + length + kLargePage - (aligned + length);
    if (tail > 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
    return reinterpret_cast<void*>(aligned);
}

}  // namespace

// Rounding up to whole large pages may waste an eighth of the array at most.
bool UsesLargePages(size_t bytes) {
    return bytes > 0 && bytes <= SIZE_MAX / 2 && RoundedUp(bytes) - bytes <= bytes / 8;
}

void* Allocate(size_t bytes) {
    if (!UsesLargePages(bytes)) return std::calloc(bytes ? bytes : 1, 1);
    void* memory = MapAligned(RoundedUp(bytes));
    // Only a hint: without transparent large pages the array has small ones.
    if (memory) madvise(memory, RoundedUp(bytes), MADV_HUGEPAGE);
    return memory;
}

void Free(void* memory, size_t bytes) {
    if (!memory) return;
    if (UsesLargePages(bytes)) {
        munmap(memory, RoundedUp(bytes));
    } else {
        std::free(memory);
    }
}

}  // namespace pixelmemory
