#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "core/PixelMemory.h"

namespace {

bool AllZero(const unsigned char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (bytes[i] != 0) return false;
    }
    return true;
}

// From nothing to a cursor, a character, a screen and a picture of the
// largest side's order: zeroed, writable to the end, and each array its own.
TEST(PixelMemoryTest, ArraysOfEverySizeAreZeroedAndSeparate) {
    for (size_t bytes : {size_t{0}, size_t{64 * 64 * 4}, size_t{300 * 600 * 4},
                         size_t{800 * 600 * 4}, size_t{2048 * 2048 * 4}}) {
        SCOPED_TRACE(bytes);
        auto* first = static_cast<unsigned char*>(pixelmemory::Allocate(bytes));
        auto* second = static_cast<unsigned char*>(pixelmemory::Allocate(bytes));
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_TRUE(AllZero(first, bytes));
        std::memset(first, 0xA5, bytes);
        EXPECT_TRUE(AllZero(second, bytes));
        if (bytes > 0) {
            EXPECT_EQ(first[bytes - 1], 0xA5);
        }
        pixelmemory::Free(first, bytes);
        pixelmemory::Free(second, bytes);
    }
    pixelmemory::Free(nullptr, 800 * 600 * 4);
}

// Memory freed comes back zeroed when asked for again.
TEST(PixelMemoryTest, ReusedMemoryIsZeroedAgain) {
    const size_t bytes = 800 * 600 * 4;
    for (int round = 0; round < 3; ++round) {
        auto* memory = static_cast<unsigned char*>(pixelmemory::Allocate(bytes));
        ASSERT_NE(memory, nullptr);
        EXPECT_TRUE(AllZero(memory, bytes));
        std::memset(memory, 0xFF, bytes);
        pixelmemory::Free(memory, bytes);
    }
}

}  // namespace
