#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/GameFiles.h"
#include "tests/e2e/Process.h"
#include "tests/support/TempDir.h"

using testing_support::FileExists;
using testing_support::ReadFile;

namespace {

// The velmora-storyboard program as an author runs it.
class ProgramTest : public testing_support::InTempDir {
protected:
    // Runs the program with arguments; its standard output, and its standard
    // error in errors.
    std::string Run(const std::vector<std::string>& arguments, int& status) {
        std::string command = "exec \"$0\" \"$@\" 2>errors.txt";
        std::vector<std::string> argv = {"sh", "-c", command, VELMORA_STORYBOARD};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::string output = e2e::RunCommand(argv, {}, &status, 60000);
        errors = ReadFile("errors.txt");
        return output;
    }

    static std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
        std::vector<std::string> found;
        std::regex expression(pattern);
        for (std::sregex_iterator it(text.begin(), text.end(), expression), end; it != end; ++it)
            found.push_back((*it)[1]);
        return found;
    }

    std::string errors;
};

// Seven frames up to the menu (five lines, the delay, the menu itself), then
// three, three and four along its three ways; every way ends with game end.
TEST_F(ProgramTest, TheDemoHasAFrameForEveryWaitOfEveryBranch) {
    int status = -1;
    EXPECT_EQ(Run({"--out", "board", VELMORA_DEMO_DIR}, status), "");
    EXPECT_EQ(status, 0);
    EXPECT_NE(errors.find("velmora-storyboard: 17 frames, 3 branches, 0 joins, 0 errors in "),
              std::string::npos)
        << errors;

    std::string index = ReadFile("board/index.html");
    std::set<std::string> pictures;
    for (const std::string& file : Matches(index, "(?:src|href)=\"([^\"#]+)\"")) {
        EXPECT_TRUE(FileExists("board/" + file)) << file;
        pictures.insert(file);
    }
    EXPECT_EQ(pictures.size(), 17u);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator("board"))
        files += entry.path().extension() == ".png";
    EXPECT_EQ(files, 17u);
    // The menu's three choices lead to their branches; every link lands.
    EXPECT_EQ(Matches(index, "<li><a href=\"#(b7-[0-9])\">").size(), 3u);
    std::vector<std::string> ids = Matches(index, "id=\"([^\"]+)\"");
    for (const std::string& anchor : Matches(index, "href=\"#([^\"]+)\"")) {
        EXPECT_NE(std::find(ids.begin(), ids.end(), anchor), ids.end()) << anchor;
    }
    EXPECT_EQ(Matches(index, "(The game ends)").size(), 3u);
}

TEST_F(ProgramTest, TheFramesGoBesideTheGameUnlessToldOtherwise) {
    e2e::GameFiles files;
    files.script = "say text=\"Hello\"\n";
    files.WriteTo(directory + "/game");
    int status = -1;
    Run({"game"}, status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(FileExists("game/storyboard/frame-00001.png"));
    EXPECT_TRUE(FileExists("game/storyboard/index.html"));
    Run({"--max-frames", "1", "--out", "elsewhere", "game"}, status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(FileExists("elsewhere/frame-00001.png"));
}

TEST_F(ProgramTest, WithoutAGameOrWithWrongArgumentsItEndsWithTwo) {
    int status = -1;
    testing_support::WriteFile("empty/readme.txt", "no game here");
    EXPECT_EQ(Run({"empty"}, status), "");
    EXPECT_EQ(status, 2);
    EXPECT_EQ(errors, "velmora-storyboard: empty holds no game (no data/scenario/main.txt)\n");
    Run({"missing"}, status);
    EXPECT_EQ(status, 2);
    Run({"--max-frames", "0", "."}, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(errors,
              "velmora-storyboard: --max-frames wants a count from 1 to 1000000000, not \"0\" "
              "(velmora-storyboard --help tells more)\n");
    for (std::vector<std::string> arguments : {std::vector<std::string>{"--max-frames", "ten"},
                                               {"--max-frames", "99999999999"},
                                               {"--out"},
                                               {"a", "b"},
                                               {"--loud"}}) {
        Run(arguments, status);
        EXPECT_EQ(status, 2) << arguments[0];
        EXPECT_EQ(errors.rfind("velmora-storyboard: ", 0), 0u) << arguments[0];
        EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
    }
    EXPECT_FALSE(FileExists("storyboard"));
}

}  // namespace
