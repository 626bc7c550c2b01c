#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "graphics/Picture.h"
#include "tests/graphics/PictureTesting.h"

namespace {

const uint32_t kBackground = 0x00404040;

// An opaque picture whose every pixel names its own position.
Picture Numbered(int width, int height) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(0xFF000000u | static_cast<uint32_t>(x) << 8 |
                             static_cast<uint32_t>(y));
    return PictureOf(width, height, pixels);
}

uint32_t Named(int x, int y) {
    return static_cast<uint32_t>(x) << 8 | static_cast<uint32_t>(y);
}

// Checks that exactly the block columns x columns x rows from the picture's
// (sx, sy) landed at (dx, dy) and nothing else changed.
void ExpectBlock(TestSurface& surface, int sx, int sy, int dx, int dy, int columns, int rows) {
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            ASSERT_EQ(surface.At(dx + x, dy + y), Named(sx + x, sy + y)) << x << ", " << y;
    EXPECT_EQ(surface.Differing(kBackground).size(), static_cast<size_t>(columns * rows));
}

SDL_Rect Rect(int x, int y, int w, int h) {
    return {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
            static_cast<Uint16>(h)};
}

TEST(BlitTest, DrawClipsAgainstTheSurfaceEdges) {
    Picture picture = Numbered(100, 50);
    struct Case {
        int x, y, sx, sy, dx, dy, columns, rows;
    } cases[] = {
        {10, 20, 0, 0, 10, 20, 100, 50}, {-10, 0, 10, 0, 0, 0, 90, 50},
        {0, -45, 0, 45, 0, 0, 100, 5},   {790, 595, 0, 0, 790, 595, 10, 5},
        {-99, -49, 99, 49, 0, 0, 1, 1},  {65536 + 5, 7, 0, 0, 5, 7, 100, 50},  // cut to 16 bits
        {800, 0, 0, 0, 0, 0, 0, 0},      {0, 600, 0, 0, 0, 0, 0, 0},
        {-100, 0, 0, 0, 0, 0, 0, 0},     {0, -50, 0, 0, 0, 0, 0, 0},
        {-20000, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.x << ", " << c.y);
        TestSurface surface(800, 600, kBackground);
        picture.Draw(surface.Get(), c.x, c.y, 255);
        ExpectBlock(surface, c.sx, c.sy, c.dx, c.dy, c.columns, c.rows);
    }
}

TEST(BlitTest, WindowsChooseAndBoundTheBlock) {
    Picture picture = Numbered(100, 50);
    struct Case {
        SDL_Rect src, dst;
        int sx, sy, dx, dy, columns, rows;
    } cases[] = {
        // Columns before the source's 0 are dropped without moving the destination.
        {Rect(-5, 0, 0, 0), Rect(20, 0, 0, 0), 0, 0, 20, 0, 100, 50},
        {Rect(-5, -3, 10, 10), Rect(20, 0, 0, 0), 0, 0, 20, 0, 5, 7},
        {Rect(10, 5, 20, 10), Rect(0, 0, 0, 0), 10, 5, 0, 0, 20, 10},
        {Rect(90, 40, 50, 50), Rect(0, 0, 0, 0), 90, 40, 0, 0, 10, 10},
        {Rect(100, 0, 0, 0), Rect(0, 0, 0, 0), 0, 0, 0, 0, 0, 0},
        // A destination window bounds the block; it never scales.
        {Rect(0, 0, 0, 0), Rect(100, 100, 10, 10), 0, 0, 100, 100, 10, 10},
        {Rect(0, 0, 0, 0), Rect(-5, -5, 10, 10), 5, 5, 0, 0, 5, 5},
        {Rect(0, 0, 0, 0), Rect(-10, 0, 10, 0), 0, 0, 0, 0, 0, 0},
        {Rect(0, 0, 0, 0), Rect(795, 0, 60, 0), 0, 0, 795, 0, 5, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "src " << c.src.x << ", " << c.src.y << " dst "
                                        << c.dst.x << ", " << c.dst.y);
        TestSurface surface(800, 600, kBackground);
        picture.Blit(surface.Get(), c.src, c.dst, 255);
        ExpectBlock(surface, c.sx, c.sy, c.dx, c.dy, c.columns, c.rows);
    }
}

TEST(BlitTest, BlendEnds) {
    TestSurface surface(4, 2, 0xAB102030);
    // Top row at opacity 255, bottom row at 128.
    Picture picture = PictureOf(4, 1, {0xFFC0D0E0, 0x00C0D0E0, 0x64C0D0E0, 0x7FC0D0E0});
    picture.Draw(surface.Get(), 0, 0, 255);
    picture.Draw(surface.Get(), 0, 1, 128);
    EXPECT_EQ(surface.At(0, 0), 0x00C0D0E0u);  // opaque: the source exactly
    EXPECT_EQ(surface.At(1, 0), 0x00102030u);  // invisible: the target, top byte 0
    EXPECT_EQ(surface.At(2, 0), 0x00556575u);  // (0xC0 * 101 + 0x10 * 156) >> 8 = 0x55 ...
    EXPECT_EQ(surface.At(3, 0), 0x00687888u);
    // At opacity 128 alpha 255 weighs 129 : 128 and alpha 100 or 127 shows nothing.
    EXPECT_EQ(surface.At(0, 1), 0x00687888u);
    EXPECT_EQ(surface.At(1, 1), 0x00102030u);
    EXPECT_EQ(surface.At(2, 1), 0x00102030u);
    EXPECT_EQ(surface.At(3, 1), 0x00102030u);

    TestSurface faded(4, 1, 0xAB102030);
    picture.Draw(faded.Get(), 0, 0, 0);
    EXPECT_EQ(faded.Differing(0x00102030).size(), 0u);
}

TEST(BlitTest, RowsFollowThePitchAndTheLockOffset) {
    // 12 pixels wide in rows of 16 words: the 4 words past each row stay untouched.
    std::vector<uint32_t> memory(16 * 10, kBackground);
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceFrom(memory.data(), 12, 8, 32, 16 * 4, 0xFF0000, 0xFF00, 0xFF, 0);
    // A surface with an offset must be locked; locking moves its pixels down two rows.
    surface->offset = 2 * surface->pitch;
    Numbered(20, 20).Draw(surface, 0, 0, 255);
    EXPECT_EQ(surface->locked, 0u);
    EXPECT_EQ(surface->pixels, memory.data());
    SDL_FreeSurface(surface);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 16; ++x) {
            bool drawn = y >= 2 && x < 12;
            ASSERT_EQ(memory[y * 16 + x], drawn ? Named(x, y - 2) : kBackground) << x << ", " << y;
        }
}

TEST(BlitTest, EmptyPicturesDrawNothing) {
    TestSurface surface(10, 10, kBackground);
    Picture().Draw(surface.Get(), 0, 0, 255);
    Picture().Blit(surface.Get(), Rect(0, 0, 0, 0), Rect(0, 0, 0, 0), 255);
    EXPECT_TRUE(surface.Differing(kBackground).empty());
}

}  // namespace
