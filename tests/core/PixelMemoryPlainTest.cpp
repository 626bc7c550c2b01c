#include <gtest/gtest.h>

#include "core/PixelMemory.h"

namespace {

TEST(PixelMemoryPlainTest, NoArrayHasLargePages) {
    for (size_t bytes : {size_t{0}, size_t{64 * 64 * 4}, size_t{800 * 600 * 4}, size_t{2} << 20})
        EXPECT_FALSE(pixelmemory::UsesLargePages(bytes));
}

}  // namespace
