#include "walk/StoryWalk.h"

#include <SDL_ttf.h>

#include <utility>

#include "audio/MusicChannel.h"
#include "commands/Commands.h"
#include "commands/Stage.h"
#include "commands/Wait.h"
#include "core/Exception.h"
#include "core/GamePaths.h"
#include "core/GameSettings.h"
#include "graphics/CharacterTable.h"
#include "graphics/PictureCache.h"
#include "script/ErrorLine.h"
#include "walk/ReadVariables.h"
#include "walk/StateKey.h"

namespace {

// A story that runs this long without showing anything loops for ever: the
// game would leave its last frame standing until the player quits.
const int kStepsWithoutFrame = 1000000;

// The walk is heard nowhere: the music and the voice clips open on channels
// of its own, which no mixer plays (the game's may be playing beside it), so
// that a file that would fail in the game fails on the walk too.
MusicChannel& QuietChannel(size_t which) {
    static MusicChannel channels[2];
    return channels[which];
}

MusicChannel& QuietMusic() {
    return QuietChannel(0);
}

void PlayVoiceQuietly(const std::string& path) {
    QuietChannel(1).Open(path, false);
}

void StopVoiceQuietly() {
    QuietChannel(1).Stop();
}

}  // namespace

StoryWalk::StoryWalk(WalkObserver& observer, const std::string& scriptPath, WalkDrawing drawing)
    : observer(observer), scriptPath(scriptPath), drawing(drawing) {}

StoryWalk::~StoryWalk() {
    stage.player = PlayerSeam();
    stage.scene = SceneState();
    stage.files = GameFileSeam();
    stage.primaryFont.Close();
    stage.secondaryFont.Close();
    QuietMusic().Stop();
    StopVoiceQuietly();
    if (fontsStarted) TTF_Quit();
}

void StoryWalk::Run() {
    failurePlace = "";
    StartGame();
    FollowBranch();
    while (!stopped && TakeNextChoice())
        FollowBranch();
}

// As the game starts, without a window or a sound device: what it reads
// before its first frame must be there and sound.
void StoryWalk::StartGame() {
    BuildCharacterTable();
    GameSettings settings;
    settings.Load(paths::kGameSettings);
    pictureCache = PictureCache();
    if (TTF_Init() < 0) throw Exception("TTF_Init() failed");
    fontsStarted = true;
    QuietMusic().Open(paths::kMusic, true);
    Picture cursor;
    cursor.LoadImage(paths::kArrowCursor);
    cursor.LoadImage(paths::kBusyCursor);
    player = std::make_unique<StoryboardPlayer>(settings.GetInt("Width", 800),
                                                settings.GetInt("Height", 600),
                                                drawing == WalkDrawing::kFrames);
    player->onFirstFrame = [this] { OnFirstFrame(); };
    RegisterCommands(scenario);
    stage.player = player->Seam();
    stage.files = {GameFileSeam().showPicture, PlayVoiceQuietly, StopVoiceQuietly};
    stage.Load(settings);
    failurePlace = paths::kScript;
    scenario.Load(scriptPath.c_str());
    readVariables = ReadVariables(scenario);
    observer.Started(scenario);
    scenario.Init();
    failurePlace = "";
}

void StoryWalk::FollowBranch() {
    int stepsWithoutFrame = 0;
    for (;;) {
        if (scenario.GetStatus() == StatusEnd) {
            observer.StoryEnds(0);
            return observer.BranchEnds(BranchEnd::kEnd, "The script ends here.", 0);
        }
        if (observer.ShouldStop()) {
            stopped = true;
            return;
        }
        line = scenario.NextLine();
        observer.BeforeStep(scenario.SaveRun().nextStatement);
        observer.StepRuns(line);
        player->NextWait();
        halt = Halt::kNone;
        int framesBefore = frames;
        try {
            scenario.Step();
        } catch (const Exception& e) {
            return BranchError(e.Message());
        }
        if (Halted()) return;
        if (player->GameEnded()) {
            observer.StoryEnds(line);
            return observer.BranchEnds(BranchEnd::kEnd, "The game ends (game action=end).", 0);
        }
        if (player->ClickIgnored()) return BranchError("The wait did not end at a click");
        observer.StepDone(scenario);
        if (LoopsWithoutFrames(stepsWithoutFrame, frames != framesBefore)) return;
    }
}

// Ends the branch of a story that has run on too long without a frame.
bool StoryWalk::LoopsWithoutFrames(int& steps, bool drew) {
    steps = drew ? 0 : steps + 1;
    if (steps < kStepsWithoutFrame) return false;
    std::string text = "The story runs on for " + std::to_string(kStepsWithoutFrame) +
                       " steps without a frame: an endless loop? The branch ends here.";
    observer.Warn(scenario.NextLine(), text);
    observer.BranchEnds(BranchEnd::kWarning, text, 0);
    return true;
}

// Ends the branch, or the walk, for what the last frame found.
bool StoryWalk::Halted() {
    switch (halt) {
        case Halt::kNone:
            return false;
        case Halt::kJoin:
            observer.BranchEnds(BranchEnd::kJoin, "Joins what was drawn before at", joinedFrame);
            return true;
        case Halt::kDeadEnd: {
            std::string text =
                "The menu offers no choice to click: the game waits here until "
                "the player quits.";
            observer.Warn(line, text);
            observer.BranchEnds(BranchEnd::kWarning, text, 0);
            return true;
        }
        case Halt::kMenu:
        case Halt::kStop:
            return true;
    }
    return true;
}

// The next choice not yet followed, of the innermost menu that has one.
bool StoryWalk::TakeNextChoice() {
    while (!menus.empty()) {
        MenuStop& stop = menus.back();
        if (stop.next == stop.clicks.size()) {
            menus.pop_back();
            continue;
        }
        const MenuStop::Click& click = stop.clicks[stop.next++];
        const ChoiceItem& choice = stop.scene.choices[click.choice];
        path = stop.path;
        path.push_back(choice.text);
        observer.ChoiceTaken(stop.line, choice.text, choice.label);
        observer.BranchStarts(stop.frame, click.choice, path);
        if (Resume(stop, click)) return true;
    }
    return false;
}

// Puts the run back as it stood at the menu and answers it with one click.
bool StoryWalk::Resume(const MenuStop& stop, const MenuStop::Click& click) {
    line = stop.line;
    player->Restart();
    player->NextWait();
    player->AimAt(click.x, click.y);
    player->SkipFirstFrame();
    halt = Halt::kNone;
    try {
        stop.Restore(scenario, stage);
        WaitForPlayer(scenario);
    } catch (const Exception& e) {
        BranchError(e.Message());
        return false;
    }
    if (player->ClickIgnored()) {
        BranchError("The wait did not end at a click");
        return false;
    }
    observer.ChoiceDone();
    return true;
}

// A wait's first frame: a new state is told as a new frame; one met before
// ends the branch.
void StoryWalk::OnFirstFrame() {
    std::string key = StateKey(scenario.SaveRun(), stage.scene, readVariables);
    auto [known, fresh] = drawn.emplace(std::move(key), frames + 1);
    if (fresh) {
        NewFrame();
    } else {
        halt = Halt::kJoin;
        joinedFrame = known->second;
        if (!observer.Joined(line, joinedFrame)) {
            halt = Halt::kStop;
            stopped = true;
        }
    }
    if (halt != Halt::kNone) player->Stop();
}

// A menu's choices go on the walk's stack, to be followed in turn.
void StoryWalk::NewFrame() {
    std::unique_ptr<MenuStop> stop;
    if (stage.scene.menuMode) {
        stop =
            std::make_unique<MenuStop>(MenuStop::Save(scenario, stage, player->Surfaces().surface));
        stop->line = line;
        stop->frame = frames + 1;
        stop->path = path;
    }
    if (!observer.NewFrame(line, frames + 1, stop.get())) {
        halt = Halt::kStop;
        stopped = true;
        return;
    }
    ++frames;
    if (!stop) return;
    halt = stop->clicks.empty() ? Halt::kDeadEnd : Halt::kMenu;
    if (halt == Halt::kMenu) menus.push_back(std::move(*stop));
}

// The branch ends where the game would have stopped. A picture that failed
// to load keeps its cache slot empty; the next branch loads it afresh, as a
// new game would.
void StoryWalk::BranchError(const std::string& message) {
    observer.Failed(line, message);
    observer.BranchEnds(BranchEnd::kError, ErrorLine(message, scenario.ScriptName(), line), 0);
    pictureCache = PictureCache();
}
