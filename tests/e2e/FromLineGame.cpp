#include "tests/e2e/FromLineGame.h"

#include <gtest/gtest.h>

#include <fstream>

#include "graphics/Picture.h"

namespace e2e {

// A menu whose first choice sets a variable that a later line shows; a line
// no path reaches after the game's end.
const char FromLineGame::kScript[] =
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

std::vector<FromLineGame::Refusal> FromLineGame::Refusals() {
    return {
        {std::to_string(kUnreached), "line 13 of data/scenario/main.txt is never reached"},
        {std::to_string(kLines + 1),
         "line 17 is past the end of data/scenario/main.txt (16 lines)"},
        {"0", "--from wants a line number from 1, not \"0\""},
        {"ten", "--from wants a line number from 1, not \"ten\""},
    };
}

FromLineGame::FromLineGame(const std::string& folder)
    : scriptPath(folder + "/data/scenario/main.txt") {
    Save(kScript);
    Picture pier;
    pier.LoadImage((folder + "/data/gfx/pier.png").c_str());
    pierPixel = pier.Pixels()[kPierY * pier.Width() + kPierX] & 0xFFFFFF;
}

bool FromLineGame::ShowsPier(const Screenshot& shot) const {
    return shot.Pixel(kPierX, kPierY) == pierPixel;
}

Screenshot FromLineGame::PierFrame(Game& game) const {
    return Settled(game, [this](const Screenshot& shot) { return ShowsPier(shot); });
}

// Each click is held until the screen changes, so none is lost.
Screenshot FromLineGame::PlayToThePier(Game& game) const {
    game.lastShot = game.Shot();
    for (int i = 0; i < 20 && !ShowsPier(game.lastShot); ++i)
        game.ClickThrough();
    return PierFrame(game);
}

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

// The finding's band across the top of the window.
bool ShowsFinding(const Screenshot& shot) {
    return shot.Pixel(4, 4) == 0x701010;
}

}  // namespace

void FromLineGame::FollowSaves(Game& game) const {
    Screenshot before = PierFrame(game);
    std::string edited = Replaced(kScript, "on the left", "on the left bank");
    Save(edited);
    EXPECT_TRUE(game.WaitForScreen(
        [&](const Screenshot& shot) { return ShowsPier(shot) && shot != before; }));

    Save(Replaced(edited, "score = score + 6", "score = score +"));
    EXPECT_TRUE(game.WaitForScreen(ShowsFinding));
    EXPECT_TRUE(ShowsPier(game.lastShot)) << "the finding covers only the top of the frame";
    EXPECT_TRUE(game.Running());

    Save(edited);
    auto mendedShown = [&](const Screenshot& shot) {
        return ShowsPier(shot) && !ShowsFinding(shot);
    };
    EXPECT_TRUE(game.WaitForScreen(mendedShown));
    EXPECT_TRUE(Settled(game, mendedShown) != before);
    EXPECT_EQ(ClickToTheEnd(game), 0);
}

void FromLineGame::Save(const std::string& script) const {
    std::ofstream(scriptPath, std::ios::binary) << script;
}

int FromLineGame::ClickToTheEnd(Game& game) {
    for (int i = 0; i < 20 && game.Running(); ++i) {
        if (!game.ClickThrough()) break;  // the window has closed
    }
    return game.Wait();
}

Screenshot FromLineGame::Settled(Game& game, const std::function<bool(const Screenshot&)>& check) {
    Screenshot previous;
    EXPECT_TRUE(game.WaitForScreen([&](const Screenshot& shot) {
        bool settled = check(shot) && shot == previous;
        previous = shot;
        return settled;
    }));
    return game.lastShot;
}

}  // namespace e2e
