#include <gtest/gtest.h>

#include <vector>

#include "graphics/Picture.h"
#include "tests/graphics/PictureTesting.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TempDir.h"

namespace {

class PictureTest : public testing_support::InTempDir {};

void ExpectEmpty(const Picture& picture) {
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
    EXPECT_EQ(picture.Pixels(), nullptr);
    EXPECT_FALSE(picture.IsDrawable());
}

TEST_F(PictureTest, CopiesAreDeep) {
    Picture original = PictureOf(2, 1, {0x11223344, 0x55667788});
    Picture copy(original);
    Picture assigned;
    assigned = original;
    original.Pixels()[0] = 0;
    for (const Picture* picture : {&copy, &assigned}) {
        EXPECT_EQ(picture->Width(), 2);
        EXPECT_EQ(picture->Height(), 1);
        EXPECT_EQ(PixelsOf(*picture), (std::vector<uint32_t>{0x11223344, 0x55667788}));
        EXPECT_NE(picture->Pixels(), original.Pixels());
    }
    const Picture& same = assigned;
    assigned = same;
    EXPECT_EQ(PixelsOf(assigned), (std::vector<uint32_t>{0x11223344, 0x55667788}));

    // A larger picture replaces a smaller one and the other way round.
    assigned = PictureOf(1, 1, {0xAB});
    EXPECT_EQ(PixelsOf(assigned), std::vector<uint32_t>{0xAB});
}

// Copies share their pixels until one is written or reloaded, as a cached
// picture shown on the scene is: no other copy ever sees the change.
TEST_F(PictureTest, AWrittenOrReloadedCopyLeavesTheOthersAsTheyWere) {
    Picture cached = PictureOf(2, 1, {1, 2});
    Picture shown = cached;
    Picture again(shown);
    shown.Pixels()[1] = 9;
    EXPECT_EQ(PixelsOf(shown), (std::vector<uint32_t>{1, 9}));
    EXPECT_EQ(PixelsOf(cached), (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(PixelsOf(again), (std::vector<uint32_t>{1, 2}));

    testing_support::WritePng("b.png", 1, 1, {0xFF0000FF});
    cached.LoadImage("b.png");
    EXPECT_EQ(PixelsOf(cached), std::vector<uint32_t>{0xFF0000FF});
    EXPECT_EQ(PixelsOf(again), (std::vector<uint32_t>{1, 2}));
    cached.Free();
    EXPECT_EQ(PixelsOf(again), (std::vector<uint32_t>{1, 2}));
}

TEST_F(PictureTest, EmptinessIsCopiedAndFreed) {
    ExpectEmpty(Picture());
    Picture loaded = PictureOf(3, 2, std::vector<uint32_t>(6, 1));
    loaded = Picture();
    ExpectEmpty(loaded);

    Picture freed = PictureOf(3, 2, std::vector<uint32_t>(6, 1));
    freed.Free();
    ExpectEmpty(freed);
    freed.Free();
    ExpectEmpty(freed);
}

TEST_F(PictureTest, FailedLoadLeavesNoPixels) {
    testing_support::WritePng("a.png", 3, 2, std::vector<uint32_t>(6, 0xFF000000));
    Picture picture;
    picture.LoadImage("a.png");
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("missing.png"); }), "Read error in missing.png");
    // The old size stays, but without pixels nothing is drawn or copied.
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_FALSE(picture.IsDrawable());
    ExpectEmpty(Picture(picture));
    picture.LoadImage("a.png");
    EXPECT_EQ(PixelsOf(picture), std::vector<uint32_t>(6, 0xFF000000));
}

}  // namespace
