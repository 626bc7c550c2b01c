#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "graphics/Picture.h"
#include "tests/e2e/Game.h"
#include "tests/e2e/MenuChoice.h"
#include "tests/support/ChannelTesting.h"
#include "tests/support/OggClip.h"
#include "tests/support/TempDir.h"

using channel_testing::AtVolume;
using channel_testing::Bytes;
using e2e::Screenshot;
using testing_support::FileExists;
using testing_support::ReadFile;

namespace {

const std::string kDemo = VELMORA_DEMO_DIR;
constexpr size_t kBufferBytes = 4096;  // one mixer buffer: 1024 stereo 16-bit frames

// A point of the screen that must show the pixel below it of a picture
// whose left edge is at x = left.
struct Point {
    int x;
    int y;
    const char* picture;  // below data/gfx/, or "" for black
    int left;
};

// Where the demo's characters, 300 pixels wide, stand in its 800-pixel window.
const int kCenter = (800 - 300) / 2;
const int kRight = 800 - 300;

// The first scene after each menu choice: the lamp room with the keeper
// alone in the center; the pier with the fisherman left at the right; the
// harbour with the fisherman gone.
const std::vector<Point> kBranchScenes[] = {
    {{60, 60, "lamproom", 0},
     {400, 300, "mira", kCenter},
     {150, 350, "lamproom", 0},
     {650, 400, "lamproom", 0}},
    {{60, 60, "pier", 0},
     {650, 400, "tomas", kRight},
     {150, 350, "pier", 0},
     {400, 350, "pier", 0}},
    {{60, 60, "harbour", 0},
     {150, 350, "mira", 0},
     {400, 350, "ilya", kCenter},
     {650, 400, "harbour", 0}},
};
// The first wait shows the preloaded harbour and nobody yet; the last one
// has no background.
const std::vector<Point> kOpening = {
    {60, 60, "harbour", 0}, {150, 350, "harbour", 0}, {400, 350, "harbour", 0}};
const std::vector<Point> kClosing = {{60, 60, "", 0}, {400, 300, "", 0}};

// The demo, copied into the test's directory, played by the real program
// on a private display with SDL's disk audio driver writing what it hears.
class DemoPlayTest : public testing_support::InTempDir, public testing::WithParamInterface<size_t> {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        std::filesystem::copy(kDemo + "/data", "data", std::filesystem::copy_options::recursive);
        std::filesystem::copy(kDemo + "/velmora.settings", "velmora.settings");
    }

    // Plays until the program ends, clicking at every wait on the line of
    // menu choice `choice` (which ends any other wait as well) after taking
    // a screenshot of it. A wait whose frame is the one before (a delay after
    // a line) passes unclicked, as the button is held until the screen
    // changes.
    void Play(size_t choice) {
        e2e::Game game({directory,
                        {{"SDL_AUDIODRIVER", "disk"},
                         {"SDL_DISKAUDIOFILE", directory + "/audio.raw"},
                         {"SDL_DISKAUDIODELAY", "20"}}});
        e2e::ScreenPoint choicePoint = e2e::MenuChoicePoint(directory, choice);
        game.MoveMouse(choicePoint.x, choicePoint.y);
        // The first wait shows the harbour, no longer a black window.
        Screenshot previous;
        ASSERT_TRUE(game.WaitForScreen(
            [&](const Screenshot& shot) {
                bool settled = shot == previous && shot.Pixel(60, 60) != 0;
                previous = shot;
                return settled;
            },
            30000));
        for (int wait = 0; wait < 40; ++wait) {
            shots.push_back(game.lastShot);
            if (!game.ClickThrough()) break;  // the window has closed
        }
        exitCode = game.Wait();
    }

    // The points of the screenshot that differ from what they must show.
    std::string Mismatches(const Screenshot& shot, const std::vector<Point>& points) {
        std::string mismatches;
        for (const Point& p : points) {
            uint32_t expected = 0;
            if (*p.picture) expected = OpaquePixel(p.picture, p.x - p.left, p.y);
            if (shot.Pixel(p.x, p.y) != expected) {
                mismatches += " (" + std::to_string(p.x) + ", " + std::to_string(p.y) + ") " +
                              Hex(shot.Pixel(p.x, p.y)) + " instead of " + Hex(expected);
            }
        }
        return mismatches;
    }

    uint32_t OpaquePixel(const std::string& name, int x, int y) {
        Picture& picture = pictures[name];
        if (!picture.IsDrawable()) picture.LoadImage(("data/gfx/" + name + ".png").c_str());
        uint32_t argb = picture.Pixels()[y * picture.Width() + x];
        EXPECT_EQ(argb >> 24, 0xFFu) << name << " is not opaque at the point chosen";
        return argb & 0xFFFFFF;
    }

    static std::string Hex(uint32_t rgb) {
        char text[16];
        snprintf(text, sizeof text, "%06X", rgb);
        return text;
    }

    std::vector<Screenshot> shots;
    int exitCode = -1;
    std::map<std::string, Picture> pictures;
};

// The music plays from the start at half volume; no voice is heard before
// the first click. The music's first buffer may still be at full volume.
void ExpectMusicAtTheStart(const std::string& output, const Bytes& decoded) {
    size_t first = output.find_first_not_of('\0');
    ASSERT_NE(first, std::string::npos) << "silence only";
    size_t start = first / kBufferBytes * kBufferBytes;
    Bytes music = AtVolume(decoded, 128);
    ASSERT_GE(output.size(), start + 3 * kBufferBytes);
    EXPECT_TRUE(
        Bytes(output.begin() + start + kBufferBytes, output.begin() + start + 3 * kBufferBytes) ==
        Bytes(music.begin() + kBufferBytes, music.begin() + 3 * kBufferBytes))
        << "the output does not begin with the music";
}

TEST_P(DemoPlayTest, PlaysThroughMenuChoiceToTheEnd) {
    size_t choice = GetParam();
    Play(choice);
    EXPECT_EQ(exitCode, 0);
    std::string log = FileExists("velmora.log") ? ReadFile("velmora.log") : "";
    EXPECT_EQ(log.find("[Error]"), std::string::npos) << log;

    ASSERT_GE(shots.size(), 2u);
    EXPECT_EQ(Mismatches(shots.front(), kOpening), "");
    EXPECT_EQ(Mismatches(shots.back(), kClosing), "");
    std::vector<std::string> mismatches;
    for (const Screenshot& shot : shots)
        mismatches.push_back(Mismatches(shot, kBranchScenes[choice]));
    EXPECT_TRUE(std::count(mismatches.begin(), mismatches.end(), "") > 0)
        << "no wait showed the branch's scene; they differ at\n"
        << testing::PrintToString(mismatches);

    ExpectMusicAtTheStart(ReadFile("audio.raw"),
                          testing_support::DecodeOggClip("data/mfx/ingame.ogg"));
}

INSTANTIATE_TEST_SUITE_P(EveryChoice, DemoPlayTest, testing::Values(0, 1, 2));

}  // namespace
