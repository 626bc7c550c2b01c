#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/Picture.h"
#include "tests/e2e/Game.h"
#include "tests/e2e/GameFiles.h"
#include "tests/e2e/Process.h"
#include "tests/support/TempDir.h"

namespace {

// The storyboard's frames against the real game's screen on a virtual
// display: a scene, a spoken line of two lines with a speaker and a menu.
class ExactnessTest : public testing_support::InTempDir {
protected:
    static constexpr int kMouseX = 639;
    static constexpr int kMouseY = 479;

    // Pictures whose pixels differ from one another, half-transparent where
    // they overlap, so that every blend shows.
    static std::vector<uint32_t> Gradient(int width, int height, uint32_t alpha, int seed) {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint32_t r = (x * 255 / width + seed) & 0xFF, g = (y * 255 / height) & 0xFF;
                pixels.push_back(alpha << 24 | r << 16 | g << 8 | ((x ^ y) & 0xFF));
            }
        }
        return pixels;
    }

    // Pixels of the screenshot that differ from the frame, away from the cursor.
    static int Differences(const e2e::Screenshot& shot, const Picture& frame) {
        if (shot.Width() != frame.Width() || shot.Height() != frame.Height()) return -1;
        int differences = 0;
        for (int y = 0; y < frame.Height(); ++y) {
            for (int x = 0; x < frame.Width(); ++x) {
                bool underCursor =
                    x >= kMouseX - 32 && x < kMouseX + 32 && y >= kMouseY - 32 && y < kMouseY + 32;
                uint32_t drawn = frame.Pixels()[y * frame.Width() + x] & 0xFFFFFF;
                if (!underCursor && shot.Pixel(x, y) != drawn) ++differences;
            }
        }
        return differences;
    }
};

TEST_F(ExactnessTest, FramesAreThePixelsTheGameShows) {
    e2e::GameFiles files;
    files.gameSettings =
        "Width=640\nHeight=480\nFontSize=18\nTextOffsetX=20\nTextOffsetY=8\n"
        "PrimaryColor=0xF0E0C0\nSecondaryColor=0xFFC040\nSecondaryBold=1\n";
    files.textBoxColour = 0xB4102040;  // the scene shows through
    files.pictures["data/gfx/room.png"] = {640, 480, Gradient(640, 480, 255, 0)};
    files.pictures["data/gfx/ann.png"] = {300, 400, Gradient(300, 400, 160, 90)};
    files.pictures["data/gfx/bob.png"] = {301, 450, Gradient(301, 450, 200, 170)};
    files.script =
        "back \"room\"\nchar \"ann\", left\nchar \"bob\", right\nsay text=\"The scene.\"\n"
        "say \"Ann\", \"\", \"The first line,---and the second.\"\n"
        "item \"Go on\", label=on\nitem \"Stay\", label=stay\nmenu action=run\n:on\n:stay\n";
    files.WriteTo(directory);
    int status = -1;
    e2e::RunCommand({VELMORA_STORYBOARD, "--out", "board", "."}, {}, &status, 60000);
    ASSERT_EQ(status, 0);

    e2e::Game game({directory, {}});
    game.MoveMouse(kMouseX, kMouseY);  // the cursor in a corner, away from the choices
    for (const char* file : {"frame-00001.png", "frame-00002.png", "frame-00003.png"}) {
        Picture frame;
        frame.LoadImage((std::string("board/") + file).c_str());
        game.WaitForScreen([&](const e2e::Screenshot& s) { return Differences(s, frame) == 0; });
        EXPECT_EQ(Differences(game.lastShot, frame), 0) << file;
        game.Click();
    }
    game.Key("Escape");
    EXPECT_EQ(game.Wait(), 0);
}

}  // namespace
