#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/FromLineGame.h"
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

using Script = e2e::FromLineGame;

class FromLineTest : public testing_support::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        std::filesystem::copy(kDemo + "/data", "data", std::filesystem::copy_options::recursive);
        std::filesystem::copy(kDemo + "/velmora.settings", "velmora.settings");
        script = std::make_unique<Script>(directory);
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

    // Runs velmora with arguments where it can open no window; its exit
    // code, and what it wrote on standard error.
    std::string Refused(const std::string& argument, int& code) {
        std::string command = "cd '" + directory + "' && '" + e2e::VelmoraBinary() + "' --from '" +
                              argument + "' 2>&1 >/dev/null";
        return e2e::RunCommand({"sh", "-c", command},
                               {{"DISPLAY", ":nowhere"}, {"SDL_VIDEODRIVER", "x11"}}, &code);
    }

    std::unique_ptr<Script> script;
};

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
        game.MoveMouse(Script::kMouseX, Script::kMouseY);
        played = script->PlayToThePier(game);
        game.Key("Escape");
        EXPECT_EQ(game.Wait(), 0);
    }
    for (int line : {Script::kShowsScore, Script::kBeforeScore}) {
        SCOPED_TRACE("--from " + std::to_string(line));
        std::filesystem::remove("audio.raw");
        e2e::Game game(Options({"--from", std::to_string(line)}));
        game.MoveMouse(Script::kMouseX, Script::kMouseY);
        EXPECT_TRUE(script->PierFrame(game) == played);
        EXPECT_EQ(Script::ClickToTheEnd(game), 0);
        ExpectMusicFromItsStart(ReadFile("audio.raw"),
                                testing_support::DecodeOggClip("data/mfx/ingame.ogg"));
        std::string log = ReadFile("velmora.log");
        EXPECT_EQ(log.find("[Error]"), std::string::npos) << log;
    }
}

// With --watch, a save of the line the game shows is on the screen at once;
// a fault is shown over the last frame while the game runs on, and the
// mended script starts at the line again.
TEST_F(FromLineTest, WatchFollowsTheSavedScript) {
    e2e::Game game(Options({"--from", std::to_string(Script::kShowsScore), "--watch"}));
    game.MoveMouse(Script::kMouseX, Script::kMouseY);
    script->FollowSaves(game);
}

// A line no path reaches, a line past the end and what is no line number
// end the program with 2 and one line that says why, before any window
// opens or the log is written.
TEST_F(FromLineTest, RefusesLinesItCannotStartAt) {
    for (const Script::Refusal& c : Script::Refusals()) {
        int code = -1;
        std::string said = Refused(c.argument, code);
        EXPECT_EQ(code, 2) << c.argument;
        EXPECT_EQ(said.rfind("velmora: " + c.says, 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_FALSE(FileExists("velmora.log")) << c.argument;
    }
}

}  // namespace
