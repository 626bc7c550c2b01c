#pragma once

#include <cstddef>

// Memory for pixel arrays: decoded pictures and the game's screen-sized
// surfaces. Where the system has large pages, an array of about a large page
// or more lies in them: the first write to each small page of a fresh array
// costs a fault, and the few screen-sized arrays made before the first frame
// held thousands of them. Contents start zeroed, as fresh pages are. Any thread may allocate
// and free; the caller owns the memory until it frees it with the same size.
namespace pixelmemory {

// nullptr when the memory cannot be had.
void* Allocate(size_t bytes);
void Free(void* memory, size_t bytes);

// Whether an array of this size is given large pages where there are any
// (false on systems without them).
bool UsesLargePages(size_t bytes);

}  // namespace pixelmemory
