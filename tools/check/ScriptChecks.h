#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "script/Scenario.h"
#include "tools/check/FileChecks.h"
#include "tools/check/Findings.h"
#include "tools/check/TextChecks.h"

// Checks every statement of a compiled script without running it: the
// commands' own argument checks on the arguments known before the script
// runs, the files the commands would read, the labels jumped to, the
// expressions that can only fail, text that runs out of the text box, and
// statements that can never run, with the labels over them that nothing
// jumps to. The commands run on the stage with seams
// that wait for nothing and read no file: a call's effects are looked at and
// thrown away. Runs on the thread that holds the FatalErrorTrap.
class ScriptChecks {
public:
    // layout is absent when the fonts or the text box cannot be loaded;
    // files is null for a script checked alone, without its game's files.
    ScriptChecks(Scenario& script, Findings& findings, FileChecks* files,
                 const std::optional<TextBoxLayout>& layout);

    void Run();

    // What one run of a command's callback did.
    struct CallOutcome {
        std::string error;  // the message it threw, or ""
        std::vector<std::string> pictures;
        std::vector<std::string> voices;
        bool endedGame = false;
        SceneState scene;  // the stage's scene afterwards
    };

    // An argument as far as it is known before the script runs: its
    // parameter, or none for an expression whose value is not known.
    struct KnownArgument {
        std::string name;
        std::optional<Parameter> value;
    };

private:
    void CheckStatement(size_t index);
    void CheckAssign(const Statement& statement);
    void CheckIf(const Statement& statement);
    void CheckCall(const Statement& statement);
    bool CheckExpression(const Expression& e, int line, std::optional<Value>* constant = nullptr);
    bool KnowArguments(const CallStatement& call, const EngineFunctionInfo& function, int line,
                       std::vector<KnownArgument>& known);
    void CheckLabel(const std::string& label, int line);
    void CheckFiles(const std::vector<CallOutcome>& outcomes, int line);
    void Report(const std::string& path, const FileChecks::Verdict& verdict, int line);
    void CheckEffects(const std::string& function, const std::vector<CallOutcome>& outcomes,
                      int line);
    void CheckLayout(const std::string& function, const CallOutcome& outcome, int line);
    void CheckMenu(int line);
    void CheckReachable(size_t index);
    void ReportDeadCode();
    void CheckFallenInto(const std::vector<std::string>& labels, size_t index);
    void EndsFlow(int line, const char* what);

    std::vector<CallOutcome> RunCall(const EngineFunctionInfo& function,
                                     const std::vector<KnownArgument>& known, int line);

    Scenario& script;
    Findings& findings;
    FileChecks* files;
    const std::optional<TextBoxLayout>& layout;
    std::set<std::string> assigned;        // every variable some statement assigns
    std::set<std::string> fixedVariables;  // those of one value wherever they are read
    std::map<uint32_t, std::vector<std::string>> labelsAt;  // statement -> labels above it
    std::map<std::string, std::vector<int>> jumpLines;      // label -> lines that name it
    std::set<std::string> warnedFiles;
    // Statements after a jump or the game's end, up to the next label.
    struct DeadCode {
        int cause = 0;  // the line that jumps away or ends the game; 0: none
        const char* what = "";
        int first = 0;
        int last = 0;
        size_t count = 0;
    } dead;
    size_t itemsSinceMenu = 0;
};
