#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "commands/Commands.h"
#include "core/Exception.h"
#include "script/Scenario.h"
#include "tests/support/TempDir.h"
#include "tests/support/Windows1251.h"

using testing_support::FileExists;
using testing_support::ReadFile;

namespace {

const std::string kDemo = VELMORA_DEMO_DIR;

// What the demo's script asked of the commands in one run, and the menu
// choice that the run takes.
struct Playthrough {
    size_t choice = 0;
    std::vector<std::string> pictures;  // every name given to back, char and preload
    std::vector<std::string> voices;    // every sound given to say
    std::vector<std::string> texts;     // every say text
    std::vector<std::string> items;     // the labels of the choices offered
    int menus = 0;
    bool ended = false;
};

Playthrough* current = nullptr;

// Stand-ins for the engine commands, declared with the same parameter names:
// they record their arguments and never wait.
void PictureCommand(std::map<std::string, Parameter> params, Scenario&, int) {
    if (params["name"].kind == ParamString) current->pictures.push_back(params["name"].text);
}

void Say(std::map<std::string, Parameter> params, Scenario&, int) {
    if (params["sound"].kind == ParamString && !params["sound"].text.empty())
        current->voices.push_back(params["sound"].text);
    current->texts.push_back(params["text"].text);
}

void Item(std::map<std::string, Parameter> params, Scenario&, int) {
    current->items.push_back(params["label"].text);
}

void Menu(std::map<std::string, Parameter>, Scenario& scenario, int line) {
    ++current->menus;
    ASSERT_LT(current->choice, current->items.size());
    scenario.JumpToLabel(current->items[current->choice], line);
    current->items.clear();
}

void Game(std::map<std::string, Parameter> params, Scenario&, int) {
    if (params["action"].text == "end") current->ended = true;
}

void Ignore(std::map<std::string, Parameter>, Scenario&, int) {}

void RegisterStandIns(Scenario& script) {
    script.RegisterEngineFunction("back", {PictureCommand, {"name", "clear"}});
    script.RegisterEngineFunction("char", {PictureCommand, {"name", "align"}});
    script.RegisterEngineFunction("say", {Say, {"name", "sound", "text"}});
    script.RegisterEngineFunction("item", {Item, {"text", "label"}});
    script.RegisterEngineFunction("menu", {Menu, {"action"}});
    script.RegisterEngineFunction("delay", {Ignore, {"value"}});
    script.RegisterEngineFunction("game", {Game, {"action"}});
    script.RegisterEngineFunction("preload", {PictureCommand, {"name"}});
}

// Plays the whole script with every menu answered by choice.
Playthrough Play(size_t choice) {
    Playthrough run;
    run.choice = choice;
    current = &run;
    Scenario script;
    RegisterStandIns(script);
    try {
        script.Load((kDemo + "/data/scenario/main.txt").c_str());
        script.Init();
        for (int step = 0; step < 1000 && !run.ended && script.GetStatus() != StatusEnd; ++step)
            script.Step();
    } catch (const Exception& e) {
        ADD_FAILURE() << e.Message();
    }
    current = nullptr;
    return run;
}

// Windows-1251 Russian letters: the bytes the font shows as Cyrillic.
bool IsRussianLetter(unsigned char byte) {
    return byte >= 0xC0 || byte == 0xA8 || byte == 0xB8;
}


TEST(DemoScenarioTest, LoadsWithTheGamesCommands) {
    Scenario script;
    RegisterCommands(script);
    std::string path = kDemo + "/data/scenario/main.txt";
    try {
        script.Load(path.c_str());
    } catch (const Exception& e) {
        FAIL() << e.Message();
    }
    EXPECT_EQ(script.GetStatus(), StatusLoaded);
}

TEST(DemoScenarioTest, EveryBranchPlaysToTheEndAndEveryFileItNamesExists) {
    // The branches meet again and light the lamp, at a time each computes.
    const char* lampLit[] = {"lamp lit at 19:45.", "lamp lit at 19:50, a little late.",
                             "lamp lit at 19:40."};
    for (size_t choice = 0; choice < 3; ++choice) {
        SCOPED_TRACE("choice " + std::to_string(choice + 1));
        Playthrough run = Play(choice);
        EXPECT_TRUE(run.ended);
        EXPECT_EQ(run.menus, 1);
        EXPECT_TRUE(run.items.empty()) << "choices left over after the menu";
        for (const std::string& name : run.pictures)
            EXPECT_TRUE(FileExists(kDemo + "/data/gfx/" + name + ".png")) << name;
        for (const std::string& sound : run.voices)
            EXPECT_TRUE(FileExists(kDemo + "/data/mfx/voc/" + sound + ".ogg")) << sound;
        ASSERT_GE(run.texts.size(), 2u);
        const std::string& logLine = run.texts[run.texts.size() - 2];
        EXPECT_EQ(logLine.substr(logLine.rfind("lamp lit")), lampLit[choice]);
    }
}

TEST(DemoScenarioTest, RussianLinesAreWindows1251) {
    size_t russian = 0;
    for (size_t choice = 0; choice < 3; ++choice) {
        for (const std::string& text : Play(choice).texts) {
            for (unsigned char byte : text) {
                if (byte < 0x80) continue;
                EXPECT_TRUE(IsRussianLetter(byte)) << "byte " << int{byte} << " in " << text;
                ++russian;
            }
        }
    }
    EXPECT_GT(russian, 0u);
    // The game's script is the UTF-8 original, converted.
    EXPECT_TRUE(ReadFile(kDemo + "/data/scenario/main.txt") ==
                testing_support::Utf8ToWindows1251(ReadFile(kDemo + "/source/main.txt")));
}

TEST(DemoScenarioTest, StartUpFilesExist) {
    for (const char* path :
         {"velmora.settings", "data/game.settings", "data/menubg.png", "data/arrow.png",
          "data/busy.png", "data/fnt/font.ttf", "data/fnt/LICENSE", "data/mfx/ingame.ogg"}) {
        EXPECT_TRUE(FileExists(kDemo + "/" + path)) << path;
    }
}

}  // namespace
