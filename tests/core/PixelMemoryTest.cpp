#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "core/PixelMemory.h"

namespace {

// From nothing to a cursor, a screen and a large picture: zeroed (again after
// a free), writable to the end, and each array its own.
TEST(PixelMemoryTest, ArraysAreZeroedWritableAndSeparate) {
    for (size_t bytes :
         {size_t{0}, size_t{64 * 64 * 4}, size_t{800 * 600 * 4}, size_t{2048 * 2048 * 4}}) {
        SCOPED_TRACE(bytes);
        auto* first = static_cast<unsigned char*>(pixelmemory::Allocate(bytes));
        auto* second = static_cast<unsigned char*>(pixelmemory::Allocate(bytes));
        ASSERT_TRUE(first && second);
        auto zero = [bytes](const unsigned char* m) { return std::count(m, m + bytes, 0); };
        EXPECT_EQ(zero(first), static_cast<long>(bytes));
        std::memset(first, 0xA5, bytes);
        EXPECT_EQ(zero(second), static_cast<long>(bytes));
        pixelmemory::Free(first, bytes);
        pixelmemory::Free(second, bytes);
    }
    pixelmemory::Free(nullptr, 800 * 600 * 4);
}

}  // namespace
