#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Log.h"
#include "script/Scenario.h"
#include "walk/MenuStop.h"
#include "walk/StoryboardPlayer.h"

// How a branch of the walk ended.
enum class BranchEnd { kEnd, kJoin, kWarning, kError };

// Told what the walk meets, in the order it meets it; each answer that can
// stop the walk says so by returning false. Called on the walk's thread,
// while the stage holds the scene in question.
class WalkObserver {
public:
    virtual ~WalkObserver() = default;
    // Before each Step: the index of the statement it runs.
    virtual void BeforeStep(uint32_t) {}
    // A wait's first frame, in a state not met before: the player's canvas
    // holds it (unless the walk draws states only), number counts such
    // frames from 1, menu is the menu it shows (null for a say or a delay).
    // False: the walk stops here.
    virtual bool NewFrame(int line, int number, const MenuStop* menu) = 0;
    // A wait's first frame in the state of frame number; its branch ends.
    virtual bool Joined(int, int) { return true; }
    virtual void BranchStarts(int, size_t, const std::vector<std::string>&) {}
    // text: in words; for an error, "script:line: error: ..." as ErrorLine says.
    virtual void BranchEnds(BranchEnd, const std::string&, int) {}
    virtual void Warn(int, const std::string&) {}
    // Asked before each Step: true ends the walk there, with no note.
    virtual bool ShouldStop() { return false; }

    // For a map of the walk's way through the script. The script is loaded
    // and about to start.
    virtual void Started(const Scenario&) {}
    // Around a Step at line that the branch goes on from: the run as the
    // Step left it.
    virtual void StepRuns(int) {}
    virtual void StepDone(Scenario&) {}
    // The walk answers the menu at menuLine with a choice (text in the
    // script's bytes) going to label; ChoiceDone once the jump is made.
    virtual void ChoiceTaken(int, const std::string&, const std::string&) {}
    virtual void ChoiceDone() {}
    // The story ends: by `game action=end` at line, or 0 at the script's end.
    virtual void StoryEnds(int) {}
    // A Step at line failed with the error's message, before its branch ends.
    virtual void Failed(int, const std::string&) {}
};

// Whether the walk draws each wait's frame on the player's canvas, as the
// storyboard shows them, or only reaches the states, which costs less.
enum class WalkDrawing { kFrames, kStatesOnly };

// The storyboard's walk: plays the game in the working directory by itself
// with the real script, commands and scene drawing, through a
// StoryboardPlayer, and follows every choice of every menu depth-first, the
// first choice first. Of two waits in equal states (walk/StateKey.h) it
// follows only the first. Uses the process-wide stage, picture cache, fonts
// and sound channels, and gives them back emptied; one walk at a time, on
// one thread.
class StoryWalk {
public:
    StoryWalk(WalkObserver& observer, const std::string& scriptPath,
              WalkDrawing drawing = WalkDrawing::kFrames);
    StoryWalk(const StoryWalk&) = delete;
    StoryWalk& operator=(const StoryWalk&) = delete;
    ~StoryWalk();

    // Throws Exception when the game does not start (FailurePlace says where).
    void Run();
    const std::string& FailurePlace() const { return failurePlace; }
    const Scenario& Script() const { return scenario; }
    const StoryboardPlayer& Player() const { return *player; }
    int Frames() const { return frames; }
    bool Stopped() const { return stopped; }

private:
    enum class Halt { kNone, kMenu, kJoin, kDeadEnd, kStop };

    void StartGame();
    void FollowBranch();
    bool Halted();
    bool LoopsWithoutFrames(int& steps, bool drew);
    bool TakeNextChoice();
    bool Resume(const MenuStop& stop, const MenuStop::Click& click);
    void OnFirstFrame();
    void NewFrame();
    void BranchError(const std::string& message);

    WalkObserver& observer;
    std::string scriptPath;
    WalkDrawing drawing;
    std::unique_ptr<StoryboardPlayer> player;
    Scenario scenario;
    FatalErrorTrap fatalErrorsThrow;
    bool fontsStarted = false;
    std::string failurePlace;

    std::set<std::string> readVariables;         // by the script: the others join in keys
    std::unordered_map<std::string, int> drawn;  // state key -> its frame
    std::vector<MenuStop> menus;                 // the menus on the current path
    std::vector<std::string> path;
    int line = 0;  // of the statement being run
    Halt halt = Halt::kNone;
    int joinedFrame = 0;
    bool stopped = false;
    int frames = 0;
};
