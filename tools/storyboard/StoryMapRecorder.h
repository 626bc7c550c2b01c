#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "script/Scenario.h"
#include "tools/storyboard/StoryMap.h"

// Draws the story map while the storyboard's walk plays: the walk tells it
// each statement it runs, each frame, menu choice, ending and error, and it
// follows the walk from place to place. It reads the script but never
// changes a run. One per walk, on the walk's thread.
class StoryMapRecorder {
public:
    // The script is loaded and about to start; lines are its lines as the
    // game counts them. Every label becomes a place, reached or not.
    void Begin(const Scenario& script, std::vector<std::string> lines);

    // Around a Step that the branch goes on from: the line of the statement
    // it runs (0: none), then the run as the Step left it.
    void BeforeStep(int line);
    void AfterStep(Scenario& script);

    // A wait's first frame at line; file is "" when frames are not kept.
    void AtFrame(int line, bool menu, const std::string& file);
    // The walk takes a menu's choice (text in the script's bytes) to label;
    // AfterChoice when the jump was made.
    void AtChoice(int menuLine, const std::string& text, const std::string& label);
    void AfterChoice();
    void AtGameEnd(int line);
    void AtScriptEnd();
    void AtError(int line, const std::string& message);

    // The map, with a note on each label never reached; walkStopped when the
    // walk ended before every branch was followed (--max-frames).
    StoryMap Finish(bool walkStopped = false);

private:
    struct Way {
        StoryMap::EdgeKind kind = StoryMap::EdgeKind::kFlow;
        std::string text;
    };

    size_t Place(const std::string& id, StoryMap::NodeKind kind, int line);
    size_t LabelPlace(const std::string& name) const { return labelNodes.at(name); }
    void Move(size_t to, const Way& way);
    void JumpTo(const std::string& label, const Way& way);
    void FallInto(uint32_t statement);
    void FlowOnFrom(const std::string& label);
    Way WayOf(const Statement& statement) const;
    std::string ConditionText(int line) const;
    uint32_t StatementOfLine(int line) const;

    StoryMap map;
    const std::vector<Statement>* statements = nullptr;
    std::vector<std::string> lines;
    std::map<std::string, size_t> ids;                      // node id -> index
    std::map<std::string, size_t> labelNodes;               // label -> node index
    std::map<uint32_t, std::vector<std::string>> labelsAt;  // statement -> labels, in file order
    std::map<std::string, uint32_t> labelStatement;
    std::vector<uint32_t> statementOfLine;            // line -> statement, count for none
    std::map<std::string, std::vector<int>> jumpsTo;  // label -> lines that name it
    std::set<std::tuple<size_t, size_t, int, std::string>> edgesMade;
    std::set<std::pair<size_t, std::string>> framesMade;
    size_t current = 0;
    uint32_t running = 0;      // the statement of the Step under way
    Way pending;               // how the walk leaves current if the Step fails
    std::string pendingLabel;  // of the choice being taken
};
