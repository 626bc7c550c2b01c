#include "tools/storyboard/StoryMapRecorder.h"

#include <algorithm>

#include "script/CharClass.h"
#include "script/ErrorLine.h"
#include "tools/storyboard/IndexPage.h"
#include "walk/LabelJumps.h"

using NodeKind = StoryMap::NodeKind;
using EdgeKind = StoryMap::EdgeKind;

namespace {

// ":name" alone on its line, blanks before it, as the loader takes a label.
bool LabelOnLine(const std::string& line, std::string& name) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] != ':') return false;
    size_t end = ++start;
    if (end >= line.size() || !IsLetter(line[end])) return false;
    while (end < line.size() && IsIdentifierChar(line[end]))
        ++end;
    if (end != line.size()) return false;
    name = line.substr(start, end - start);
    return true;
}

}  // namespace

const char* KindName(NodeKind kind) {
    static const char* const names[] = {"start", "label", "menu", "end", "error"};
    return names[static_cast<int>(kind)];
}

const char* KindName(EdgeKind kind) {
    static const char* const names[] = {"flow", "goto", "if", "choice"};
    return names[static_cast<int>(kind)];
}

void StoryMapRecorder::Begin(const Scenario& script, std::vector<std::string> scriptLines) {
    statements = &script.Statements();
    jumpsTo = LabelJumpLines(script);
    lines = std::move(scriptLines);
    current = Place("start", NodeKind::kStart, 1);
    map.nodes[current].reached = true;
    statementOfLine.assign(lines.size() + 1, static_cast<uint32_t>(statements->size()));
    for (const Statement& statement : *statements) {
        if (statement.line < statementOfLine.size())
            statementOfLine[statement.line] = &statement - statements->data();
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        auto found =
            LabelOnLine(lines[i], name) ? script.Labels().find(name) : script.Labels().end();
        if (found == script.Labels().end() || labelNodes.count(name) != 0) continue;
        size_t node = Place("label:" + name, NodeKind::kLabel, static_cast<int>(i + 1));
        map.nodes[node].name = name;
        labelNodes[name] = node;
        labelsAt[found->second].push_back(name);
        labelStatement[name] = found->second;
    }
    FallInto(0);
}

size_t StoryMapRecorder::Place(const std::string& id, NodeKind kind, int line) {
    auto [found, fresh] = ids.emplace(id, map.nodes.size());
    if (fresh) map.nodes.push_back({id, kind, "", line, false, {}, ""});
    return found->second;
}

void StoryMapRecorder::Move(size_t to, const Way& way) {
    int kind = static_cast<int>(way.kind);
    if (edgesMade.emplace(current, to, kind, way.text).second)
        map.edges.push_back({current, to, way.kind, way.text});
    map.nodes[to].reached = true;
    current = to;
}

// Onto a label, then through the labels below it that share its statement.
void StoryMapRecorder::JumpTo(const std::string& label, const Way& way) {
    if (labelNodes.count(label) == 0) return;
    Move(LabelPlace(label), way);
    FlowOnFrom(label);
}

void StoryMapRecorder::FlowOnFrom(const std::string& label) {
    const std::vector<std::string>& here = labelsAt[labelStatement[label]];
    auto after = std::find(here.begin(), here.end(), label);
    for (++after; after != here.end(); ++after)
        Move(LabelPlace(*after), Way());
}

// The run went on from one statement to the next, past the labels between.
void StoryMapRecorder::FallInto(uint32_t statement) {
    auto found = labelsAt.find(statement);
    if (found == labelsAt.end()) return;
    for (const std::string& label : found->second)
        Move(LabelPlace(label), Way());
}

void StoryMapRecorder::BeforeStep(int line) {
    running = StatementOfLine(line);
    pending = running < statements->size() ? WayOf((*statements)[running]) : Way();
}

void StoryMapRecorder::AfterStep(Scenario& script) {
    uint32_t next = StatementOfLine(script.NextLine());
    if (running >= statements->size()) return;
    const Statement& statement = (*statements)[running];
    pending = Way();
    if (statement.kind == StmtIf) {
        const auto& jump = std::get<IfStatement>(statement.payload);
        // A jump to the label just below looks like no jump: the condition tells.
        bool jumped = labelStatement.count(jump.label) != 0 && labelStatement[jump.label] == next &&
                      (next != running + 1 || script.IsTrue(jump.condition, statement.line));
        if (jumped) return JumpTo(jump.label, WayOf(statement));
    } else if (const CallStatement* call = JumpCall(statement)) {
        const Parameter* label = LabelArgument(*call);
        if (call->function == "goto" && label) return JumpTo(label->text, WayOf(statement));
    }
    if (next == running + 1) FallInto(next);
}

// An if's condition, or a goto, if the Step that runs it goes wrong.
StoryMapRecorder::Way StoryMapRecorder::WayOf(const Statement& statement) const {
    if (statement.kind == StmtIf) return {EdgeKind::kIf, ConditionText(statement.line)};
    const CallStatement* call = JumpCall(statement);
    if (call && call->function == "goto") return {EdgeKind::kGoto, ""};
    return Way();
}

// The condition as written: what stands between "if" and the label.
std::string StoryMapRecorder::ConditionText(int line) const {
    if (line < 1 || line > static_cast<int>(lines.size())) return "";
    const std::string& text = lines[line - 1];
    size_t start = text.find_first_not_of(" \t");
    start = text.find_first_not_of(" \t", start + 2);
    size_t end = text.size();
    while (end > start && IsIdentifierChar(text[end - 1]))
        --end;
    while (end > start && IsBlank(text[end - 1]))
        --end;
    return start < end ? Utf8FromScript(text.substr(start, end - start)) : "";
}

uint32_t StoryMapRecorder::StatementOfLine(int line) const {
    if (line < 1 || line >= static_cast<int>(statementOfLine.size()))
        return static_cast<uint32_t>(statements->size());
    return statementOfLine[line];
}

void StoryMapRecorder::AtFrame(int line, bool menu, const std::string& file) {
    if (menu) Move(Place("menu:" + std::to_string(line), NodeKind::kMenu, line), Way());
    if (!file.empty() && framesMade.emplace(current, file).second)
        map.nodes[current].frames.push_back(file);
}

void StoryMapRecorder::AtChoice(int menuLine, const std::string& text, const std::string& label) {
    current = Place("menu:" + std::to_string(menuLine), NodeKind::kMenu, menuLine);
    pending = {EdgeKind::kChoice, Utf8FromScript(text)};
    pendingLabel = label;
}

void StoryMapRecorder::AfterChoice() {
    JumpTo(pendingLabel, pending);
    pending = Way();
}

void StoryMapRecorder::AtGameEnd(int line) {
    Move(Place("end:" + std::to_string(line), NodeKind::kEnd, line), Way());
}

void StoryMapRecorder::AtScriptEnd() {
    int last = std::max<int>(1, static_cast<int>(lines.size()));
    Move(Place("end", NodeKind::kEnd, last), Way());
}

// The error stands where its message places it (a choice's undefined label at
// the item), else at the statement the walk ran.
void StoryMapRecorder::AtError(int line, const std::string& message) {
    MessagePlace place;
    std::string text = message;
    if (SplitPlace(message, place)) {
        line = place.line;
        text = place.text;
    }
    if (map.nodes.empty()) {  // the script did not load: the story stops at its start
        current = Place("start", NodeKind::kStart, 1);
        map.nodes[current].reached = true;
    }
    size_t node = Place("error:" + std::to_string(line), NodeKind::kError, std::max(line, 1));
    if (map.nodes[node].note.empty()) map.nodes[node].note = Utf8FromScript(text);
    Move(node, pending);
    pending = Way();
}

StoryMap StoryMapRecorder::Finish(bool walkStopped) {
    for (const auto& [label, node] : labelNodes) {
        if (map.nodes[node].reached) continue;
        map.nodes[node].note = walkStopped
                                   ? "label " + label + " was not reached before the walk stopped"
                                   : UnreachedLabelNote(label, jumpsTo[label]);
    }
    return std::move(map);
}
