#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "graphics/Picture.h"
#include "tests/e2e/Game.h"
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

// A menu whose first choice sets a variable that a later line shows; a line
// no path reaches after the game's end.
const char kScript[] =
    "score = 1\n"
    "say text=\"Start\"\n"
    "item \"Left\", label=left\n"
    "item \"Right\", label=right\n"
    "menu action=run\n"
    ":left\n"
    "back \"pier\"\n"
    "char \"tomas\", align=right\n"
    "score = score + 6\n"
    "say \"Tomas\", \"\", \"Score #{score} on the left\"\n"
    "say text=\"Then on\"\n"
    "game action=end\n"
    "say text=\"Nobody sees this\"\n"
    ":right\n"
    "say text=\"Right side\"\n"
    "game action=end\n";
const int kShowsScore = 10;  // the say after the first choice
const int kBeforeScore = 7;  // back: the wait that follows is kShowsScore's
const int kUnreached = 13;
const int kLines = 16;

// Where the mouse rests in every run: over the menu's first choice, which
// the player clicks; the software cursor is drawn there alike.
const int kMouseX = 24, kMouseY = 470;
const int kPierX = 60, kPierY = 60;

class FromLineTest : public testing_support::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        std::filesystem::copy(kDemo + "/data", "data", std::filesystem::copy_options::recursive);
        std::filesystem::copy(kDemo + "/velmora.settings", "velmora.settings");
        std::ofstream("data/scenario/main.txt", std::ios::binary) << kScript;
        Picture pier;
        pier.LoadImage("data/gfx/pier.png");
        pierPixel = pier.Pixels()[kPierY * pier.Width() + kPierX] & 0xFFFFFF;
    }

    e2e::Game::Options Options(const std::vector<std::string>& arguments) {
        std::vector<std::string> program = {e2e::VelmoraBinary()};
        program.insert(program.end(), arguments.begin(), arguments.end());
        return {directory,
                {{"SDL_VIDEODRIVER", "x11"},
                 {"SDL_AUDIODRIVER", "disk"},
                 {"SDL_DISKAUDIOFILE", directory + "/audio.raw"},
                 {"SDL_DISKAUDIODELAY", "20"}},
                true,
                false,
                program};
    }

    bool ShowsPier(const Screenshot& shot) const { return shot.Pixel(kPierX, kPierY) == pierPixel; }

    // The first screen that check accepts and that two shots in a row agree
    // on, so that it is not caught halfway through being presented.
    static Screenshot Settled(e2e::Game& game,
                              const std::function<bool(const Screenshot&)>& check) {
        Screenshot previous;
        EXPECT_TRUE(game.WaitForScreen([&](const Screenshot& shot) {
            bool settled = check(shot) && shot == previous;
            previous = shot;
            return settled;
        }));
        return game.lastShot;
    }

    Screenshot PierFrame(e2e::Game& game) {
        return Settled(game, [this](const Screenshot& s) { return ShowsPier(s); });
    }

    // Clicks until the game ends; its exit code.
    static int ClickToTheEnd(e2e::Game& game) {
        for (int i = 0; i < 20 && game.Running(); ++i) {
            if (!game.ClickThrough()) break;  // the window has closed
        }
        return game.Wait();
    }

    // Runs velmora with arguments where it can open no window; its exit
    // code, and what it wrote on standard error.
    std::string Refused(const std::string& argument, int& code) {
        std::string command = "cd '" + directory + "' && '" + e2e::VelmoraBinary() + "' --from '" +
                              argument + "' 2>&1 >/dev/null";
        return e2e::RunCommand({"sh", "-c", command},
                               {{"DISPLAY", ":nowhere"}, {"SDL_VIDEODRIVER", "x11"}}, &code);
    }

    uint32_t pierPixel = 0;
};

bool SameFrames(const Screenshot& a, const Screenshot& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
        }
    }
    return true;
}

// The music plays from the start of its track at half volume.
void ExpectMusicFromItsStart(const std::string& output, const Bytes& decoded) {
    const size_t kBufferBytes = 4096;
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

// The frame a player reaches by clicking the first choice, with the score
// the branch set in its text, is the first frame of --from at that line
// and at a line before it; the music plays, and the game plays on to its
// end.
TEST_F(FromLineTest, StartsAtTheFramePlayingThereShowsAndPlaysOn) {
    Screenshot played;
    {
        e2e::Game game(Options({}));
        game.MoveMouse(kMouseX, kMouseY);
        // Each click is held until the screen changes, so none is lost.
        game.lastShot = game.Shot();
        for (int i = 0; i < 20 && !ShowsPier(game.lastShot); ++i)
            game.ClickThrough();
        played = PierFrame(game);
        game.Key("Escape");
        EXPECT_EQ(game.Wait(), 0);
    }
    for (int line : {kShowsScore, kBeforeScore}) {
        SCOPED_TRACE("--from " + std::to_string(line));
        std::filesystem::remove("audio.raw");
        e2e::Game game(Options({"--from", std::to_string(line)}));
        game.MoveMouse(kMouseX, kMouseY);
        EXPECT_TRUE(SameFrames(PierFrame(game), played));
        EXPECT_EQ(ClickToTheEnd(game), 0);
        ExpectMusicFromItsStart(ReadFile("audio.raw"),
                                testing_support::DecodeOggClip("data/mfx/ingame.ogg"));
        std::string log = ReadFile("velmora.log");
        EXPECT_EQ(log.find("[Error]"), std::string::npos) << log;
    }
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

bool ShowsFinding(const Screenshot& shot) {
    return shot.Pixel(4, 4) == 0x701010;
}

// With --watch, a save of the line the game shows is on the screen at once;
// a fault is shown over the last frame while the game runs on, and the
// mended script starts at the line again.
TEST_F(FromLineTest, WatchFollowsTheSavedScript) {
    e2e::Game game(Options({"--from", std::to_string(kShowsScore), "--watch"}));
    game.MoveMouse(kMouseX, kMouseY);
    Screenshot before = PierFrame(game);

    std::string edited = Replaced(kScript, "on the left", "on the left bank");
    std::ofstream("data/scenario/main.txt", std::ios::binary) << edited;
    EXPECT_TRUE(game.WaitForScreen(
        [&](const Screenshot& s) { return ShowsPier(s) && !SameFrames(s, before); }));

    std::ofstream("data/scenario/main.txt", std::ios::binary)
        << Replaced(edited, "score = score + 6", "score = score +");
    EXPECT_TRUE(game.WaitForScreen(ShowsFinding));
    EXPECT_TRUE(ShowsPier(game.lastShot)) << "the finding covers only the top of the frame";
    EXPECT_TRUE(game.Running());

    std::ofstream("data/scenario/main.txt", std::ios::binary) << edited;
    EXPECT_TRUE(
        game.WaitForScreen([&](const Screenshot& s) { return ShowsPier(s) && !ShowsFinding(s); }));
    Screenshot mended =
        Settled(game, [&](const Screenshot& s) { return ShowsPier(s) && !ShowsFinding(s); });
    EXPECT_FALSE(SameFrames(mended, before));
    EXPECT_EQ(ClickToTheEnd(game), 0);
}

// A line no path reaches, a line past the end and what is no line number
// end the program with 2 and one line that says why, before any window
// opens or the log is written.
TEST_F(FromLineTest, RefusesLinesItCannotStartAt) {
    struct Case {
        std::string argument;
        std::string says;
    } cases[] = {
        {std::to_string(kUnreached), "line 13 of data/scenario/main.txt is never reached"},
        {std::to_string(kLines + 1),
         "line 17 is past the end of data/scenario/main.txt (16 lines)"},
        {"0", "--from wants a line number from 1, not \"0\""},
        {"ten", "--from wants a line number from 1, not \"ten\""},
    };
    for (const Case& c : cases) {
        int code = -1;
        std::string said = Refused(c.argument, code);
        EXPECT_EQ(code, 2) << c.argument;
        EXPECT_EQ(said.rfind("velmora: " + c.says, 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_FALSE(FileExists("velmora.log")) << c.argument;
    }
}

}  // namespace
