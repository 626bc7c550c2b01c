#include <gtest/gtest.h>

#include <cstdint>

#include "core/PixelMemory.h"

namespace {

const size_t kLargePage = size_t{2} << 20;

// Screens and larger arrays lie in whole large pages, from a page's start;
// small ones, and those rounding up would waste more than an eighth of, stay
// on the heap; sizes past any mapping are refused, not rounded over the end.
TEST(PixelMemoryLinuxTest, LargePagesWhereLittleIsWasted) {
    for (size_t bytes : {size_t{800 * 600 * 4}, kLargePage, kLargePage / 9 * 8 + 8})
        EXPECT_TRUE(pixelmemory::UsesLargePages(bytes)) << bytes;
    for (size_t bytes : {size_t{0}, size_t{64 * 64 * 4}, kLargePage / 9 * 8 - 8, kLargePage + 8})
        EXPECT_FALSE(pixelmemory::UsesLargePages(bytes)) << bytes;
    void* screen = pixelmemory::Allocate(800 * 600 * 4);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(screen) % kLargePage, 0u);
    pixelmemory::Free(screen, 800 * 600 * 4);
    EXPECT_EQ(pixelmemory::Allocate(SIZE_MAX / 2 - 1), nullptr);
}

}  // namespace
