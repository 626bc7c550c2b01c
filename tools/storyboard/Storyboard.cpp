#include "tools/storyboard/Storyboard.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "commands/Stage.h"
#include "core/Exception.h"
#include "graphics/CharacterTable.h"
#include "script/ErrorLine.h"
#include "tools/storyboard/FramePng.h"
#include "tools/storyboard/IndexPage.h"
#include "tools/storyboard/ScriptLines.h"
#include "tools/storyboard/StoryMapFiles.h"
#include "tools/storyboard/StoryMapRecorder.h"
#include "walk/StoryWalk.h"

namespace fs = std::filesystem;

namespace {

const char kToolName[] = "velmora-storyboard";

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

IndexPage::NoteKind NoteFor(BranchEnd end) {
    switch (end) {
        case BranchEnd::kEnd:
            return IndexPage::NoteKind::kEnd;
        case BranchEnd::kJoin:
            return IndexPage::NoteKind::kJoin;
        case BranchEnd::kWarning:
            return IndexPage::NoteKind::kWarning;
        case BranchEnd::kError:
            break;
    }
    return IndexPage::NoteKind::kError;
}

// The storyboard of one walk over the game: each new frame written as a PNG
// and entered on the index page with the branch it belongs to.
class Storyboard : public WalkObserver {
public:
    Storyboard(const StoryboardOptions& options, std::ostream& report, std::ostream& progress)
        : options(options), report(report), progress(progress), walk(*this, options.scriptPath) {}

    int Run();

private:
    void PrepareOutput();
    void WriteMap();
    void WriteFile(const std::string& name, const std::string& text) const;
    void StopWalk(const std::string& text);

    bool NewFrame(int line, int number, const MenuStop* menu) override;
    bool Joined(int line, int frame) override;
    void BranchStarts(int menuFrame, size_t choice, const std::vector<std::string>& path) override;
    void BranchEnds(BranchEnd end, const std::string& text, int linkFrame) override;
    void Warn(int line, const std::string& text) override;
    bool ShouldStop() override { return cancelled = options.stop && options.stop(); }

    void Started(const Scenario& script) override;
    void StepRuns(int line) override { map.BeforeStep(line); }
    void StepDone(Scenario& script) override { map.AfterStep(script); }
    void ChoiceTaken(int menuLine, const std::string& text, const std::string& label) override {
        map.AtChoice(menuLine, text, label);
    }
    void ChoiceDone() override { map.AfterChoice(); }
    void StoryEnds(int line) override;
    void Failed(int line, const std::string& message) override { map.AtError(line, message); }

    void DrawFrame(int line, int number, const MenuStop* menu);
    void AddChoices(const MenuStop& menu, IndexPage::Frame& entry);
    std::string Counts() const;
    std::string FrameFile(int number) const;

    StoryboardOptions options;
    std::ostream& report;
    std::ostream& progress;
    std::unique_ptr<IndexPage> index;
    StoryWalk walk;
    StoryMapRecorder map;
    std::set<std::pair<int, std::string>> warnedChoices;
    std::vector<std::string> path;
    bool stopped = false;
    bool cancelled = false;  // by options.stop: no one wants this walk's map
    int branches = 0, joins = 0, errors = 0;
};

int Storyboard::Run() {
    auto begin = std::chrono::steady_clock::now();
    BuildCharacterTable();  // the page shows the script's text from its first line on
    try {
        PrepareOutput();
    } catch (const Exception& e) {
        report << ErrorLine(e.Message(), kToolName, 0) << "\n";
        return 1;
    }
    try {
        walk.Run();
    } catch (const Exception& e) {  // the game does not start
        std::string place = walk.FailurePlace().empty() ? kToolName : walk.FailurePlace();
        std::string message = ErrorLine(e.Message(), place, 0);
        map.AtError(0, e.Message());
        report << Utf8FromScript(message) << "\n";
        index->AddNote(IndexPage::NoteKind::kError, message);
        ++errors;
    }
    std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - begin;
    progress << kToolName << ": " << Counts() << " in " << Seconds(seconds.count()) << " s\n";
    try {
        if (!cancelled) WriteMap();
        index->Finish(Counts());  // no time: two walks of one game give equal pages
    } catch (const Exception& e) {
        report << ErrorLine(e.Message(), kToolName, 0) << "\n";
        return 1;
    }
    return errors > 0 || stopped || walk.Stopped() ? 1 : 0;
}

// Frames of an earlier walk go, so that two storyboards compare frame by frame.
void Storyboard::PrepareOutput() {
    std::error_code error;
    fs::create_directories(options.outDir, error);
    if (!fs::is_directory(options.outDir))
        throw Exception("Couldn't create %s", options.outDir.c_str());
    std::string title = "Storyboard of " + fs::current_path().filename().string();
    if (options.mapOnly) {  // the frames and page of an earlier walk stay
        index = std::make_unique<IndexPage>("", title);
        return;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(options.outDir, error)) {
        if (IsFrameFile(entry.path().filename().string())) fs::remove(entry.path(), error);
    }
    index = std::make_unique<IndexPage>((fs::path(options.outDir) / "index.html").string(), title);
}

// The map goes beside the frames and onto the page; a build without the map's
// libraries writes none.
void Storyboard::WriteMap() {
    if (!StoryMapFilesBuilt()) return;
    auto begin = std::chrono::steady_clock::now();
    StoryMap story = map.Finish(stopped);
    std::string json = StoryMapJson(story), svg = StoryMapSvg(story);
    WriteFile("story-map.json", json);
    WriteFile("story-map.svg", svg);
    index->AddMap(svg, json);
    std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - begin;
    progress << kToolName << ": story map of " << story.nodes.size() << " places, "
             << story.edges.size() << " ways in " << Seconds(seconds.count()) << " s\n";
}

void Storyboard::WriteFile(const std::string& name, const std::string& text) const {
    std::string path = (fs::path(options.outDir) / name).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) throw Exception("Couldn't write %s", path.c_str());
}

void Storyboard::Started(const Scenario& script) {
    map.Begin(script, ReadScriptLines(options.scriptPath));
}

void Storyboard::StoryEnds(int line) {
    if (line > 0) return map.AtGameEnd(line);
    map.AtScriptEnd();
}

void Storyboard::StopWalk(const std::string& text) {
    report << kToolName << ": " << text << "\n";
    index->AddNote(IndexPage::NoteKind::kStop, text);
    stopped = true;
}

// A new frame is written; past maxFrames, or when it cannot be, the walk ends.
bool Storyboard::NewFrame(int line, int number, const MenuStop* menu) {
    if (number > options.maxFrames) {  // there is more than the walk may draw
        StopWalk("Stopped after " + std::to_string(number - 1) +
                 " frames (--max-frames); the branches not yet followed are left out.");
        return false;
    }
    try {
        DrawFrame(line, number, menu);
    } catch (const Exception& e) {  // the storyboard cannot be written
        ++errors;
        StopWalk(std::string("error: ") + e.Message());
        return false;
    }
    return true;
}

bool Storyboard::Joined(int line, int frame) {
    map.AtFrame(line, stage.scene.menuMode, options.mapOnly ? "" : FrameFile(frame));
    if (options.onFrame) options.onFrame(line, FrameFile(frame));
    return true;
}

void Storyboard::BranchStarts(int menuFrame, size_t choice,
                              const std::vector<std::string>& branchPath) {
    path = branchPath;
    index->StartBranch(IndexPage::BranchAnchor(menuFrame, choice), path);
}

void Storyboard::BranchEnds(BranchEnd end, const std::string& text, int linkFrame) {
    if (end == BranchEnd::kJoin) ++joins;
    if (end == BranchEnd::kError) {
        report << Utf8FromScript(text) << "\n";
        ++errors;
    }
    index->AddNote(NoteFor(end), text, linkFrame);
    ++branches;
}

void Storyboard::Warn(int at, const std::string& text) {
    std::string place = walk.Script().ScriptName() + (at > 0 ? ":" + std::to_string(at) : "");
    report << Utf8FromScript(place + ": warning: " + text) << "\n";
}

void Storyboard::DrawFrame(int line, int number, const MenuStop* menu) {
    std::string file = FrameFile(number);
    if (!options.mapOnly)
        WriteFramePng(walk.Player().Surfaces().surface, (fs::path(options.outDir) / file).string());
    const SceneState& scene = stage.scene;
    map.AtFrame(line, scene.menuMode, options.mapOnly ? "" : file);
    IndexPage::Frame entry{number, file, line, "", scene.lineText, path, {}};
    if (menu) {
        AddChoices(*menu, entry);
    } else {
        entry.speaker = scene.speakerName;  // a menu covers the speaker
    }
    index->AddFrame(entry);
    if (options.onFrame) options.onFrame(line, file);
    if (number % 100 == 0) progress << kToolName << ": " << number << " frames\n";
}

// The menu's choices, linked to their branches; one that cannot be clicked is
// said once.
void Storyboard::AddChoices(const MenuStop& menu, IndexPage::Frame& entry) {
    for (size_t i = 0; i < menu.scene.choices.size(); ++i) {
        const ChoiceItem& choice = menu.scene.choices[i];
        bool clickable = menu.Clickable(i);
        entry.choices.push_back(
            {choice.text, clickable ? IndexPage::BranchAnchor(entry.number, i) : ""});
        if (!clickable && warnedChoices.insert({choice.line, choice.text}).second) {
            Warn(choice.line,
                 "choice \"" + choice.text + "\" cannot be clicked: it lies outside the window");
        }
    }
}

std::string Storyboard::Counts() const {
    return std::to_string(walk.Frames()) + " frames, " + std::to_string(branches) + " branches, " +
           std::to_string(joins) + " joins, " + std::to_string(errors) + " errors";
}

// Wide enough for every frame the walk may write, so that names sort in order.
std::string Storyboard::FrameFile(int number) const {
    int width = std::max<int>(5, std::to_string(options.maxFrames).size());
    std::string digits = std::to_string(number);
    return "frame-" + std::string(width - std::min<int>(width, digits.size()), '0') + digits +
           ".png";
}

}  // namespace

int MakeStoryboard(const StoryboardOptions& options, std::ostream& report, std::ostream& progress) {
    return Storyboard(options, report, progress).Run();
}
