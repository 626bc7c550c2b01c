#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/Game.h"
#include "tests/e2e/Screenshot.h"

namespace e2e {

// The small game that the tests of `velmora --from` start at its lines, the
// Linux build's and the Windows build's under Wine alike: the demo's files
// with a script whose menu's first choice sets a variable that a later line
// shows over the pier. Used from the test's own thread.
class FromLineGame {
public:
    static const char kScript[];
    static constexpr int kShowsScore = 10;  // the say after the first choice
    static constexpr int kBeforeScore = 7;  // back: the wait that follows is kShowsScore's
    static constexpr int kUnreached = 13;   // after the game's end on that branch
    static constexpr int kLines = 16;
    // Where the mouse rests in every run: over the menu's first choice, which
    // the player clicks; a cursor the game draws is drawn there alike.
    static constexpr int kMouseX = 24, kMouseY = 470;

    // An argument of --from that the program refuses, and the start of the
    // one line it says why in.
    struct Refusal {
        std::string argument;
        std::string says;
    };
    // A line no path reaches, a line past the end and what is no line number.
    static std::vector<Refusal> Refusals();

    // Writes the script into the game in folder, which holds the demo's files.
    explicit FromLineGame(const std::string& folder);

    bool ShowsPier(const Screenshot& shot) const;
    // The first screen that shows the pier and that two shots in a row agree
    // on, so that it is not caught halfway through being presented.
    Screenshot PierFrame(Game& game) const;
    // The pier's frame as a player reaches it, clicking the first choice.
    Screenshot PlayToThePier(Game& game) const;

    // Checks that a game started with --watch at kShowsScore follows the
    // script as it is saved: an edit of the line it shows is on the screen
    // at once; a fault is shown over the last frame while the game runs on;
    // the mended script starts at the line again, and plays on to the end.
    void FollowSaves(Game& game) const;

    // Clicks until the game ends; its exit code.
    static int ClickToTheEnd(Game& game);
    // The first screen that check accepts and that two shots in a row agree
    // on; a failure of the test when none comes.
    static Screenshot Settled(Game& game, const std::function<bool(const Screenshot&)>& check);

private:
    static constexpr int kPierX = 60, kPierY = 60;
    void Save(const std::string& script) const;

    std::string scriptPath;
    uint32_t pierPixel = 0;
};

}  // namespace e2e
