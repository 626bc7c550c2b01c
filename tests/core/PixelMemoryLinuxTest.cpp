#include <gtest/gtest.h>

#include <cstdint>

#include "core/PixelMemory.h"

namespace {

const size_t kLargePage = size_t{2} << 20;

// A screen's array and larger ones lie in whole large pages; small ones, and
// those that would waste more than an eighth rounded up, stay on the heap.
TEST(PixelMemoryLinuxTest, LargePagesOnlyWhereLittleIsWasted) {
    EXPECT_TRUE(pixelmemory::UsesLargePages(800 * 600 * 4));
    EXPECT_TRUE(pixelmemory::UsesLargePages(kLargePage));
    EXPECT_TRUE(pixelmemory::UsesLargePages(1920 * 1080 * 4));
    EXPECT_TRUE(pixelmemory::UsesLargePages(kLargePage / 9 * 8 + 8));
    EXPECT_FALSE(pixelmemory::UsesLargePages(kLargePage / 9 * 8 - 8));
    EXPECT_FALSE(pixelmemory::UsesLargePages(kLargePage + 8));  // a second page, nearly empty
    EXPECT_FALSE(pixelmemory::UsesLargePages(64 * 64 * 4));
    EXPECT_FALSE(pixelmemory::UsesLargePages(0));
    EXPECT_FALSE(pixelmemory::UsesLargePages(SIZE_MAX));
}

TEST(PixelMemoryLinuxTest, LargePageArraysStartOnALargePage) {
    const size_t bytes = 800 * 600 * 4;
    void* memory = pixelmemory::Allocate(bytes);
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(memory) % kLargePage, 0u);
    pixelmemory::Free(memory, bytes);
}

// A size no system can map is refused, not rounded past the end of memory.
TEST(PixelMemoryLinuxTest, ImpossibleSizesAreRefused) {
    EXPECT_EQ(pixelmemory::Allocate(SIZE_MAX / 4), nullptr);
    EXPECT_EQ(pixelmemory::Allocate(SIZE_MAX / 2 - 1), nullptr);
}

}  // namespace
