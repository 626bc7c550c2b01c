#include "tools/storyboard/Storyboard.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "audio/SDLWavePlayer.h"
#include "commands/Commands.h"
#include "commands/Stage.h"
#include "commands/Wait.h"
#include "core/Exception.h"
#include "core/GamePaths.h"
#include "core/GameSettings.h"
#include "core/Log.h"
#include "graphics/CharacterTable.h"
#include "graphics/PictureCache.h"
#include "script/ErrorLine.h"
#include "tools/check/ReadVariables.h"
#include "tools/storyboard/FramePng.h"
#include "tools/storyboard/IndexPage.h"
#include "tools/storyboard/MenuStop.h"
#include "tools/storyboard/StateKey.h"
#include "tools/storyboard/StoryboardPlayer.h"

namespace fs = std::filesystem;

namespace {

const char kToolName[] = "velmora-storyboard";
// A story that runs this long without showing anything loops for ever: the
// game would leave its last frame standing until the player quits.
const int kStepsWithoutFrame = 1000000;

// Why the frame just drawn ends the current Step's wait early.
enum class Halt { kNone, kMenu, kJoin, kDeadEnd, kLimit, kFatal };

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds);
    return text;
}

bool IsFrameFile(const std::string& name) {
    const std::string prefix = "frame-", suffix = ".png";
    if (name.size() <= prefix.size() + suffix.size()) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
    for (size_t i = prefix.size(); i < name.size() - suffix.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return false;
    }
    return true;
}

// One walk over the game: the branch it follows, the menus on that branch's
// path with the choices still to take, and every state drawn so far.
class Walk {
public:
    Walk(const StoryboardOptions& options, std::ostream& report, std::ostream& progress)
        : options(options), report(report), progress(progress) {}
    ~Walk();

    int Run();

private:
    void PrepareOutput();
    void StartGame();
    void FollowBranch();
    bool Halted();
    bool LoopsWithoutFrames(int& steps, bool drew);
    void StopWalk(const std::string& text);
    bool TakeNextChoice();
    bool Resume(const MenuStop& stop, const MenuStop::Click& click);

    void OnFirstFrame();
    void DrawFrame(int number);
    void StopAtMenu(int number, IndexPage::Frame& entry);

    void EndBranch(IndexPage::NoteKind kind, const std::string& text, int linkFrame = 0);
    void BranchError(const std::string& message);
    void Warn(int line, const std::string& text);
    std::string Counts() const;
    std::string FrameFile(int number) const;

    StoryboardOptions options;
    std::ostream& report;
    std::ostream& progress;
    std::unique_ptr<IndexPage> index;
    std::unique_ptr<StoryboardPlayer> player;
    Scenario scenario;
    FatalErrorTrap fatalErrorsThrow;
    bool fontsStarted = false;
    std::string failurePlace = kToolName;  // of an error that ends the walk

    std::set<std::string> readVariables;         // by the script: the others join in keys
    std::unordered_map<std::string, int> drawn;  // state key -> its frame
    std::vector<MenuStop> menus;                 // the menus on the current path
    std::set<std::pair<int, std::string>> warnedChoices;
    std::vector<std::string> path;
    int line = 0;  // of the statement being run
    Halt halt = Halt::kNone;
    int joinedFrame = 0;
    std::string fatal;
    bool stopped = false;
    int frames = 0, branches = 0, joins = 0, errors = 0;
};

Walk::~Walk() {
    stage.player = PlayerSeam();
    stage.scene = SceneState();
    stage.primaryFont.Close();
    stage.secondaryFont.Close();
    for (MusicChannel& channel : SDLWavePlayer::channels)
        channel.Stop();
    if (fontsStarted) TTF_Quit();
}

int Walk::Run() {
    auto begin = std::chrono::steady_clock::now();
    BuildCharacterTable();  // the page shows the script's text from its first line on
    try {
        PrepareOutput();
    } catch (const Exception& e) {
        report << ErrorLine(e.Message(), kToolName, 0) << "\n";
        return 1;
    }
    try {
        StartGame();
        FollowBranch();
        while (!stopped && TakeNextChoice())
            FollowBranch();
    } catch (const Exception& e) {  // the game does not start
        std::string message = ErrorLine(e.Message(), failurePlace, 0);
        report << Utf8FromScript(message) << "\n";
        index->AddNote(IndexPage::NoteKind::kError, message);
        ++errors;
    }
    std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - begin;
    progress << kToolName << ": " << Counts() << " in " << Seconds(seconds.count()) << " s\n";
    try {
        index->Finish(Counts());  // no time: two walks of one game give equal pages
    } catch (const Exception& e) {
        report << ErrorLine(e.Message(), kToolName, 0) << "\n";
        return 1;
    }
    return errors > 0 || stopped ? 1 : 0;
}

// Frames of an earlier walk go, so that two storyboards compare frame by frame.
void Walk::PrepareOutput() {
    std::error_code error;
    fs::create_directories(options.outDir, error);
    if (!fs::is_directory(options.outDir))
        throw Exception("Couldn't create %s", options.outDir.c_str());
    for (const fs::directory_entry& entry : fs::directory_iterator(options.outDir, error)) {
        if (IsFrameFile(entry.path().filename().string())) fs::remove(entry.path(), error);
    }
    std::string title = "Storyboard of " + fs::current_path().filename().string();
    index = std::make_unique<IndexPage>((fs::path(options.outDir) / "index.html").string(), title);
}

// As the game starts, without a window or a sound device: what it reads
// before its first frame must be there and sound.
void Walk::StartGame() {
    GameSettings settings;
    settings.Load(paths::kGameSettings);
    pictureCache = PictureCache();
    if (TTF_Init() < 0) throw Exception("TTF_Init() failed");
    fontsStarted = true;
    SDLWavePlayer::channels[SDLWavePlayer::kMusicChannel].Open(paths::kMusic, true);
    Picture cursor;
    cursor.LoadImage(paths::kArrowCursor);
    cursor.LoadImage(paths::kBusyCursor);
    player = std::make_unique<StoryboardPlayer>(settings.GetInt("Width", 800),
                                                settings.GetInt("Height", 600));
    player->onFirstFrame = [this] { OnFirstFrame(); };
    RegisterCommands(scenario);
    stage.player = player->Seam();
    stage.Load(settings);
    failurePlace = paths::kScript;
    scenario.Load(options.scriptPath.c_str());
    readVariables = ReadVariables(scenario);
    scenario.Init();
    failurePlace = kToolName;
}

void Walk::FollowBranch() {
    int stepsWithoutFrame = 0;
    for (;;) {
        if (scenario.GetStatus() == StatusEnd)
            return EndBranch(IndexPage::NoteKind::kEnd, "The script ends here.");
        if (options.stop && options.stop()) {
            stopped = true;
            return;
        }
        line = scenario.NextLine();
        player->NextWait();
        halt = Halt::kNone;
        int framesBefore = frames;
        try {
            scenario.Step();
        } catch (const Exception& e) {
            return BranchError(e.Message());
        }
        if (Halted()) return;
        if (player->GameEnded())
            return EndBranch(IndexPage::NoteKind::kEnd, "The game ends (game action=end).");
        if (player->ClickIgnored()) return BranchError("The wait did not end at a click");
        if (LoopsWithoutFrames(stepsWithoutFrame, frames != framesBefore)) return;
    }
}

// Ends the branch of a story that has run on too long without a frame.
bool Walk::LoopsWithoutFrames(int& steps, bool drew) {
    steps = drew ? 0 : steps + 1;
    if (steps < kStepsWithoutFrame) return false;
    std::string text = "The story runs on for " + std::to_string(kStepsWithoutFrame) +
                       " steps without a frame: an endless loop? The branch ends here.";
    Warn(scenario.NextLine(), text);
    EndBranch(IndexPage::NoteKind::kWarning, text);
    return true;
}

// Ends the branch, or the walk, for what the last frame found.
bool Walk::Halted() {
    switch (halt) {
        case Halt::kNone:
            return false;
        case Halt::kMenu:
            return true;
        case Halt::kJoin:
            ++joins;
            EndBranch(IndexPage::NoteKind::kJoin, "Joins what was drawn before at", joinedFrame);
            return true;
        case Halt::kDeadEnd: {
            std::string text =
                "The menu offers no choice to click: the game waits here until "
                "the player quits.";
            Warn(line, text);
            EndBranch(IndexPage::NoteKind::kWarning, text);
            return true;
        }
        case Halt::kLimit:
            StopWalk("Stopped after " + std::to_string(frames) +
                     " frames (--max-frames); the branches not yet followed are left out.");
            return true;
        case Halt::kFatal:
            ++errors;
            StopWalk("error: " + fatal);
            return true;
    }
    return true;
}

void Walk::StopWalk(const std::string& text) {
    report << kToolName << ": " << text << "\n";
    index->AddNote(IndexPage::NoteKind::kStop, text);
    stopped = true;
}

// The next choice not yet followed, of the innermost menu that has one.
bool Walk::TakeNextChoice() {
    while (!menus.empty()) {
        MenuStop& stop = menus.back();
        if (stop.next == stop.clicks.size()) {
            menus.pop_back();
            continue;
        }
        const MenuStop::Click& click = stop.clicks[stop.next++];
        path = stop.path;
        path.push_back(stop.scene.choices[click.choice].text);
        index->StartBranch(IndexPage::BranchAnchor(stop.frame, click.choice), path);
        if (Resume(stop, click)) return true;
    }
    return false;
}

// Puts the run back as it stood at the menu and answers it with one click.
bool Walk::Resume(const MenuStop& stop, const MenuStop::Click& click) {
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
    return true;
}

// A wait's first frame: a new one is written, one drawn before ends the branch.
void Walk::OnFirstFrame() {
    std::string key = StateKey(scenario.SaveRun(), stage.scene, readVariables);
    auto [known, fresh] = drawn.emplace(std::move(key), frames + 1);
    if (!fresh) {
        halt = Halt::kJoin;
        joinedFrame = known->second;
        if (options.onFrame) options.onFrame(line, FrameFile(joinedFrame));
    } else if (frames == options.maxFrames) {  // there is more than the walk may draw
        halt = Halt::kLimit;
    } else {
        try {
            DrawFrame(frames + 1);
            ++frames;
        } catch (const Exception& e) {  // the storyboard cannot be written: the walk ends
            fatal = e.Message();
            halt = Halt::kFatal;
        }
    }
    if (halt != Halt::kNone) player->Stop();
}

void Walk::DrawFrame(int number) {
    std::string file = FrameFile(number);
    WriteFramePng(player->Surfaces().surface, (fs::path(options.outDir) / file).string());
    const SceneState& scene = stage.scene;
    IndexPage::Frame entry{number, file, line, "", scene.lineText, path, {}};
    if (scene.menuMode) {
        StopAtMenu(number, entry);
    } else {
        entry.speaker = scene.speakerName;  // a menu covers the speaker
    }
    index->AddFrame(entry);
    if (options.onFrame) options.onFrame(line, file);
    if (number % 100 == 0) progress << kToolName << ": " << number << " frames\n";
}

// The menu's choices go on the walk's stack, to be followed in turn.
void Walk::StopAtMenu(int number, IndexPage::Frame& entry) {
    MenuStop stop = MenuStop::Save(scenario, stage, player->Surfaces().surface);
    stop.line = line;
    stop.frame = number;
    stop.path = path;
    for (size_t i = 0; i < stop.scene.choices.size(); ++i) {
        const ChoiceItem& choice = stop.scene.choices[i];
        bool clickable = stop.Clickable(i);
        entry.choices.push_back({choice.text, clickable ? IndexPage::BranchAnchor(number, i) : ""});
        if (!clickable && warnedChoices.insert({choice.line, choice.text}).second) {
            Warn(choice.line,
                 "choice \"" + choice.text + "\" cannot be clicked: it lies outside the window");
        }
    }
    halt = stop.clicks.empty() ? Halt::kDeadEnd : Halt::kMenu;
    if (halt == Halt::kMenu) menus.push_back(std::move(stop));
}

void Walk::EndBranch(IndexPage::NoteKind kind, const std::string& text, int linkFrame) {
    index->AddNote(kind, text, linkFrame);
    ++branches;
}

// The branch ends where the game would have stopped. A picture that failed
// to load keeps its cache slot empty; the next branch loads it afresh, as a
// new game would.
void Walk::BranchError(const std::string& message) {
    std::string text = ErrorLine(message, scenario.ScriptName(), line);
    report << Utf8FromScript(text) << "\n";
    ++errors;
    EndBranch(IndexPage::NoteKind::kError, text);
    pictureCache = PictureCache();
}

void Walk::Warn(int at, const std::string& text) {
    std::string place = scenario.ScriptName() + (at > 0 ? ":" + std::to_string(at) : "");
    report << Utf8FromScript(place + ": warning: " + text) << "\n";
}

std::string Walk::Counts() const {
    return std::to_string(frames) + " frames, " + std::to_string(branches) + " branches, " +
           std::to_string(joins) + " joins, " + std::to_string(errors) + " errors";
}

// Wide enough for every frame the walk may write, so that names sort in order.
std::string Walk::FrameFile(int number) const {
    int width = std::max<int>(5, std::to_string(options.maxFrames).size());
    std::string digits = std::to_string(number);
    return "frame-" + std::string(width - std::min<int>(width, digits.size()), '0') + digits +
           ".png";
}

}  // namespace

int MakeStoryboard(const StoryboardOptions& options, std::ostream& report, std::ostream& progress) {
    return Walk(options, report, progress).Run();
}
