#include "tools/check/ScriptChecks.h"

#include <algorithm>
#include <utility>

#include "commands/Stage.h"
#include "core/Exception.h"
#include "script/Binding.h"
#include "tools/check/ConstantVariables.h"
#include "walk/ExpressionFacts.h"
#include "walk/LabelJumps.h"

namespace {

// The text an argument is given when it is an expression whose value is not
// known: no script can write it, so every file name and text made from it is
// recognised and left alone.
const std::string kUnknownText = "\x01(unknown)\x01";

bool Unknown(const std::string& text) {
    return text.find(kUnknownText) != std::string::npos;
}

// What the checking seams note while a callback runs.
ScriptChecks::CallOutcome* noting = nullptr;

bool NoFrame() {
    return false;
}
void Discard(const FrameChanges&) {}
void DontWait() {}
uint32_t NoTime() {
    return 0;
}
PlayerInput NoInput() {
    return {};
}
void NoteGameEnd() {
    noting->endedGame = true;
}
void NotePicture(Picture&, const std::string& path) {
    noting->pictures.push_back(path);
}
void NoteVoice(const std::string& path) {
    noting->voices.push_back(path);
}
void KeepSilent() {}

// A wait that ends at once without drawing: the game is not running.
PlayerSeam CheckingPlayer() {
    return {Canvas{}, NoFrame, Discard, DontWait, NoTime, NoInput, NoFrame, NoteGameEnd};
}

// The parameter an evaluated argument becomes, as the game resolves it.
Parameter Resolved(const Value& value, const std::string& name) {
    Parameter p;
    p.name = name;
    p.kind = value.type == NumberValue ? ParamNumber : ParamString;
    p.number = value.number;
    p.text = value.text;
    return p;
}

// The arguments of one run: the unknown ones take a string or a number as
// the bits of choice say.
std::map<std::string, Parameter> ArgumentsOf(const std::vector<ScriptChecks::KnownArgument>& known,
                                             unsigned choice) {
    std::map<std::string, Parameter> params;
    for (const auto& argument : known) {
        if (argument.value) {
            params[argument.name] = *argument.value;
            continue;
        }
        bool asNumber = choice & 1u;
        choice >>= 1;
        params[argument.name] =
            Resolved(asNumber ? Value::Number(0) : Value::String(kUnknownText), argument.name);
    }
    return params;
}

// The message every run threw, or "" when one of them went through or they differ.
std::string CommonError(const std::vector<ScriptChecks::CallOutcome>& outcomes) {
    const std::string& first = outcomes.front().error;
    for (const auto& outcome : outcomes) {
        if (outcome.error.empty() || outcome.error != first) return "";
    }
    return first;
}

// The paths noted in every run, known ones only.
std::vector<std::string> CommonPaths(const std::vector<ScriptChecks::CallOutcome>& outcomes,
                                     std::vector<std::string> ScriptChecks::CallOutcome::*list) {
    std::vector<std::string> common;
    for (const std::string& path : outcomes.front().*list) {
        bool everywhere = std::all_of(outcomes.begin(), outcomes.end(), [&](const auto& o) {
            return std::find((o.*list).begin(), (o.*list).end(), path) != (o.*list).end();
        });
        if (everywhere && !Unknown(path)) common.push_back(path);
    }
    return common;
}

std::string FileMessage(const std::string& path, const std::string& error) {
    return error.find(path) != std::string::npos ? error : path + ": " + error;
}

}  // namespace

ScriptChecks::ScriptChecks(Scenario& script, Findings& findings, FileChecks* files,
                           const std::optional<TextBoxLayout>& layout)
    : script(script), findings(findings), files(files), layout(layout) {
    for (const Statement& statement : script.Statements()) {
        if (statement.kind == StmtAssign)
            assigned.insert(std::get<AssignStatement>(statement.payload).variable);
    }
    for (const auto& label : script.Labels())
        labelsAt[label.second].push_back(label.first);
    // Their values are set in the script, for the expressions that use them.
    jumpLines = LabelJumpLines(script);
    std::map<std::string, Value> constants = ConstantVariables(script);
    script.RestoreRun({StatusRunning, 0, constants});
    for (const auto& variable : constants)
        fixedVariables.insert(variable.first);
}

// The stage's seams are the program's again afterwards: a walk or a game
// that runs in the same process later reads real files.
void ScriptChecks::Run() {
    PlayerSeam player = stage.player;
    FileSeam files = stage.files;
    stage.player = CheckingPlayer();
    stage.files = {NotePicture, NoteVoice, KeepSilent};
    for (size_t i = 0; i < script.Statements().size(); ++i)
        CheckStatement(i);
    CheckReachable(script.Statements().size());
    stage.scene = SceneState();
    stage.player = player;
    stage.files = files;
}

void ScriptChecks::CheckStatement(size_t index) {
    CheckReachable(index);
    const Statement& statement = script.Statements()[index];
    switch (statement.kind) {
        case StmtAssign:
            CheckAssign(statement);
            break;
        case StmtIf:
            CheckIf(statement);
            break;
        default:
            CheckCall(statement);
            break;
    }
}

void ScriptChecks::CheckAssign(const Statement& statement) {
    CheckExpression(std::get<AssignStatement>(statement.payload).value,
                    static_cast<int>(statement.line));
}

// The label is checked whatever the condition: it is a fault once the
// condition holds.
void ScriptChecks::CheckIf(const Statement& statement) {
    const IfStatement& branch = std::get<IfStatement>(statement.payload);
    int line = static_cast<int>(statement.line);
    CheckExpression(branch.condition, line);
    CheckLabel(branch.label, line);
}

// Evaluates what needs no variable but those of one value, and gives its
// value; names a variable that nothing assigns. False, with the error reported, when e must fail.
bool ScriptChecks::CheckExpression(const Expression& e, int line, std::optional<Value>* constant) {
    try {
        if (UsesOnly(e, fixedVariables)) {
            Value value = script.Evaluate(e, line);
            if (constant) *constant = std::move(value);
        } else if (const Expression* never = UnassignedVariable(e, assigned)) {
            script.Evaluate(*never, line);  // throws the game's own message
        }
    } catch (const Exception& error) {
        findings.GameError(line, error.Message());
        return false;
    }
    return true;
}

// A missing label is reported with the message its jump would throw.
void ScriptChecks::CheckLabel(const std::string& label, int line) {
    if (script.Labels().count(label)) return;
    try {
        script.JumpToLabel(label, line);
    } catch (const Exception& error) {
        findings.GameError(line, error.Message());
    }
}

// The arguments are resolved in declaration order, as the call would resolve
// them; false when one must fail, which stops the call there.
bool ScriptChecks::KnowArguments(const CallStatement& call, const EngineFunctionInfo& function,
                                 int line, std::vector<KnownArgument>& known) {
    for (const auto& [name, argument] : BindArguments(call.params, function.paramNames)) {
        known.push_back({name, *argument});
        if (argument->kind != ParamEval) continue;
        std::optional<Value> constant;
        if (!CheckExpression(argument->expression, line, &constant)) return false;
        known.back().value.reset();
        if (constant) known.back().value = Resolved(*constant, name);
    }
    return true;
}

void ScriptChecks::CheckCall(const Statement& statement) {
    const CallStatement& call = std::get<CallStatement>(statement.payload);
    int line = static_cast<int>(statement.line);
    const EngineFunctionInfo* function = script.FindEngineFunction(call.function);
    std::vector<KnownArgument> known;
    if (!function || !KnowArguments(call, *function, line, known)) return;
    bool isGoto = call.function == "goto";
    if (isGoto) EndsFlow(line, "the goto");
    if (isGoto && known[0].value && known[0].value->kind == ParamSymbol) {
        CheckLabel(known[0].value->text, line);  // the jump itself is the game's to make
        return;
    }
    std::vector<CallOutcome> outcomes = RunCall(*function, known, line);
    std::string error = CommonError(outcomes);
    if (!error.empty()) findings.GameError(line, error);
    CheckFiles(outcomes, line);
    CheckEffects(call.function, outcomes, line);
}

// Every way the unknown arguments can come: each is a string or a number.
std::vector<ScriptChecks::CallOutcome> ScriptChecks::RunCall(
    const EngineFunctionInfo& function, const std::vector<KnownArgument>& known, int line) {
    size_t unknown =
        std::count_if(known.begin(), known.end(), [](const KnownArgument& a) { return !a.value; });
    std::vector<CallOutcome> outcomes(size_t{1} << unknown);
    for (unsigned choice = 0; choice < outcomes.size(); ++choice) {
        CallOutcome& outcome = outcomes[choice];
        noting = &outcome;
        stage.scene = SceneState();
        try {
            function.callback(ArgumentsOf(known, choice), script, line);
        } catch (const Exception& e) {
            outcome.error = e.Message();
        }
        outcome.scene = std::move(stage.scene);
        noting = nullptr;
    }
    return outcomes;
}

void ScriptChecks::CheckFiles(const std::vector<CallOutcome>& outcomes, int line) {
    if (!files) return;
    for (const std::string& path : CommonPaths(outcomes, &CallOutcome::pictures))
        Report(path, files->Picture(path), line);
    for (const std::string& path : CommonPaths(outcomes, &CallOutcome::voices))
        Report(path, files->Sound(path), line);
}

// A file's error names the file, at each line that uses it; the lines the
// game would log while reading it, at the first.
void ScriptChecks::Report(const std::string& path, const FileChecks::Verdict& verdict, int line) {
    if (!verdict.error.empty()) findings.GameError(line, FileMessage(path, verdict.error));
    if (!warnedFiles.insert(path).second) return;
    for (const std::string& warning : verdict.warnings)
        findings.AtLine(line, Finding::Warning, path + ": " + warning);
}

// What the call did that is checked further: the labels of the choices it
// added, its text in the text box, the menu it showed, the end of the game.
// Where arguments are unknown, the first run that went through stands for
// the call, and the flow ends only where every run ends it.
void ScriptChecks::CheckEffects(const std::string& function,
                                const std::vector<CallOutcome>& outcomes, int line) {
    if (function == "item") ++itemsSinceMenu;
    auto through = std::find_if(outcomes.begin(), outcomes.end(),
                                [](const CallOutcome& o) { return o.error.empty(); });
    if (through == outcomes.end()) return;
    for (const ChoiceItem& choice : through->scene.choices)
        CheckLabel(choice.label, choice.line);
    if (layout) CheckLayout(function, *through, line);
    if (through->scene.menuMode) CheckMenu(line);
    if (std::all_of(outcomes.begin(), outcomes.end(),
                    [](const CallOutcome& o) { return o.error.empty() && o.endedGame; })) {
        EndsFlow(line, "the end of the game");
    }
}

void ScriptChecks::CheckLayout(const std::string& function, const CallOutcome& outcome, int line) {
    const SceneState& scene = outcome.scene;
    TextBoxLayout::Overflow overflow;
    const char* what = "spoken line";
    if (function == "say" && !Unknown(scene.speakerName) && !Unknown(scene.lineText)) {
        overflow = layout->SpokenLine(scene.speakerName, scene.lineText);
    } else if (scene.choices.size() == 1 && !Unknown(scene.choices[0].text)) {
        overflow = layout->Choice(scene.choices[0].text);
        what = "choice";
    }
    if (overflow.pixels == 0) return;
    findings.AtLine(line, Finding::Warning,
                    std::string(what) + " runs " + std::to_string(overflow.pixels) +
                        " pixels past the right edge of the " +
                        std::to_string(layout->CanvasWidth()) + "-pixel window (screen line " +
                        std::to_string(overflow.screenLine) + ")");
}

// The choices added since the last menu are the ones this menu shows, as the
// script reads from top to bottom.
void ScriptChecks::CheckMenu(int line) {
    size_t choices = itemsSinceMenu;
    itemsSinceMenu = 0;
    if (!layout || layout->MenuHeight(choices) <= layout->BoxHeight()) return;
    findings.AtLine(line, Finding::Warning,
                    "menu of " + std::to_string(choices) + " choices needs " +
                        std::to_string(layout->MenuHeight(choices)) + " pixels of the " +
                        std::to_string(layout->BoxHeight()) +
                        "-pixel text box: the choices below it cannot be seen or clicked");
}

void ScriptChecks::ReportDeadCode() {
    if (dead.count == 0) return;
    std::string what = dead.count == 1 ? "statement can never run"
                                       : std::to_string(dead.count) + " statements up to line " +
                                             std::to_string(dead.last) + " can never run";
    findings.AtLine(dead.first, Finding::Warning,
                    what + ": it follows " + dead.what + " at line " + std::to_string(dead.cause) +
                        " with no label between");
}

// Labels below the end of a flow that nothing jumps to: the statement under
// them, where the finding stands, can never run either.
void ScriptChecks::CheckFallenInto(const std::vector<std::string>& labels, size_t index) {
    for (const std::string& label : labels) {
        if (jumpLines.count(label) != 0) return;
    }
    int line = static_cast<int>(script.Statements()[index].line);
    for (const std::string& label : labels)
        findings.AtLine(line, Finding::Warning, UnreachedLabelNote(label, {}));
}

void ScriptChecks::EndsFlow(int line, const char* what) {
    if (dead.cause != 0) return;
    dead.cause = line;
    dead.what = what;
}

// A label ends the stretch of code that nothing reaches; the stretch is
// reported once, at its first statement.
void ScriptChecks::CheckReachable(size_t index) {
    auto labels = labelsAt.find(static_cast<uint32_t>(index));
    bool atEnd = index >= script.Statements().size();
    if (labels != labelsAt.end() || atEnd) {
        ReportDeadCode();
        if (!atEnd && dead.cause != 0) CheckFallenInto(labels->second, index);
        dead = DeadCode();
        return;
    }
    if (dead.cause == 0) return;
    int line = static_cast<int>(script.Statements()[index].line);
    if (dead.count++ == 0) dead.first = line;
    dead.last = line;
}
