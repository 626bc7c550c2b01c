#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "script/Scenario.h"
#include "tests/support/ExceptionMessage.h"
#include "tests/support/TempDir.h"

namespace script_testing {

// One engine-function call as a test command saw it.
struct RecordedCall {
    std::string function;
    int line;
    std::map<std::string, Parameter> params;
};

// Every call of a test command since the last ClearRecordedCalls.
std::vector<RecordedCall>& RecordedCalls();
void ClearRecordedCalls();

// Registers the test commands on a scenario, each recording its calls:
// say (name, sound, text), show (value), none (no parameters), and leap
// (label), which also jumps to its label symbol from inside the callback.
void RegisterTestCommands(Scenario& scenario);

// "absent", a number, a quoted string, or symbol:name.
std::string Describe(const Parameter& p);
// "function@line key=value ...", the parameters in name order.
std::string Describe(const RecordedCall& call);
using testing_support::MessageOf;

// A fresh directory and a scenario that knows the test commands. Scripts are
// written to "main.txt", so messages end "in main.txt at line N".
class ScenarioTest : public testing_support::InTempDir {
protected:
    void SetUp() override;

    void Load(const std::string& script);
    // Loads; the message of the error, or "(no exception)".
    std::string LoadError(const std::string& script);
    // Loads, starts and steps until the end or maxSteps steps; the message of
    // the error that stopped it, or "(no exception)".
    std::string Run(const std::string& script, int maxSteps = 1000);
    // The value of the expression assigned on line 1 as Describe gives it,
    // or the message of the error it raised.
    std::string Eval(const std::string& expression);
    // Describe of every recorded call.
    std::vector<std::string> Calls() const;

    Scenario scenario;
};

}  // namespace script_testing
