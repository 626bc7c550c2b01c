#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "graphics/PictureCache.h"
#include "tests/graphics/PictureTesting.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TempDir.h"

namespace {

class PictureCacheTest : public testing_support::InTempDir {
protected:
    // Writes a one-pixel picture whose colour is its number.
    std::string Path(int number) {
        std::string path = "p" + std::to_string(number) + ".png";
        if (!testing_support::FileExists(path))
            testing_support::WritePng(path, 1, 1, {0xFF000000u | static_cast<uint32_t>(number)});
        return path;
    }

    // Loads pictures first to last, each once, and returns their slots.
    std::vector<Picture*> Fill(int first, int last) {
        std::vector<Picture*> slots;
        for (int i = first; i <= last; ++i)
            slots.push_back(&cache.Get(Path(i)));
        return slots;
    }

    PictureCache cache;
};

TEST_F(PictureCacheTest, RepeatedPathIsServedFromMemory) {
    Picture& first = cache.Get(Path(7));
    std::remove("p7.png");
    Picture& again = cache.Get("p7.png");
    EXPECT_EQ(&again, &first);
    EXPECT_EQ(PixelsOf(again), std::vector<uint32_t>{0xFF000007});
    // Paths are compared exactly.
    EXPECT_EQ(MessageOf([&] { cache.Get("./p7.png"); }), "Read error in ./p7.png");
    EXPECT_EQ(MessageOf([&] { cache.Get("P7.png"); }), "Read error in P7.png");
}

TEST_F(PictureCacheTest, EqualCountsEvictTheLowestSlot) {
    std::vector<Picture*> slots = Fill(0, 31);
    EXPECT_EQ(&cache.Get(Path(32)), slots[0]);
    EXPECT_EQ(PixelsOf(*slots[0]), std::vector<uint32_t>{0xFF000020});
    // p1..p31 are still there: deleting their files does not matter.
    for (int i = 1; i <= 31; ++i) {
        std::remove(Path(i).c_str());
        EXPECT_EQ(&cache.Get(Path(i)), slots[i]) << i;
    }
}

TEST_F(PictureCacheTest, CountsAgeSoOldFavouritesLeave) {
    std::vector<Picture*> slots = Fill(0, 31);
    cache.Get(Path(0));  // p0 used twice
    cache.Get(Path(1));
    cache.Get(Path(1));  // p1 three times
    // The least used is slot 2; every count then drops by 1.
    EXPECT_EQ(&cache.Get(Path(100)), slots[2]);
    // Slots 3..31 now count 0 and are taken in order.
    std::vector<Picture*> refilled = Fill(101, 129);
    EXPECT_EQ(std::vector<Picture*>(slots.begin() + 3, slots.end()), refilled);
    // p0 has aged to 1, the same as p100 and the new ones; the lowest slot goes.
    EXPECT_EQ(&cache.Get(Path(200)), slots[0]);
}

TEST_F(PictureCacheTest, FailedLoadKeepsItsSlot) {
    EXPECT_EQ(MessageOf([&] { cache.Get("late.png"); }), "Read error in late.png");
    testing_support::WritePng("late.png", 1, 1, {0xFFFFFFFF});
    Picture& slot = cache.Get("late.png");  // a hit: nothing is loaded again
    EXPECT_EQ(slot.Pixels(), nullptr);
    EXPECT_EQ(MessageOf([&] { cache.Get("late.png"); }), "(no exception)");
}

TEST_F(PictureCacheTest, ProcessWideCacheIsReachable) {
    EXPECT_EQ(PixelsOf(pictureCache.Get(Path(3))), std::vector<uint32_t>{0xFF000003});
    EXPECT_EQ(&pictureCache.Get(Path(3)), &pictureCache.Get("p3.png"));
}

}  // namespace
