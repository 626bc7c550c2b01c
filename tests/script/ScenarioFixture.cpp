#include "tests/script/ScenarioFixture.h"

#include "core/Exception.h"

namespace script_testing {

std::vector<RecordedCall>& RecordedCalls() {
    static std::vector<RecordedCall> calls;
    return calls;
}

void ClearRecordedCalls() {
    RecordedCalls().clear();
}

namespace {

template <const char* kName>
void Record(std::map<std::string, Parameter> params, Scenario&, int line) {
    RecordedCalls().push_back(RecordedCall{kName, line, std::move(params)});
}

const char kSay[] = "say";
const char kShow[] = "show";
const char kNone[] = "none";

void Leap(std::map<std::string, Parameter> params, Scenario& scenario, int line) {
    std::string label = params["label"].text;
    RecordedCalls().push_back(RecordedCall{"leap", line, std::move(params)});
    scenario.JumpToLabel(label, line);
}

}  // namespace

void RegisterTestCommands(Scenario& scenario) {
    scenario.RegisterEngineFunction("say", {Record<kSay>, {"name", "sound", "text"}});
    scenario.RegisterEngineFunction("show", {Record<kShow>, {"value"}});
    scenario.RegisterEngineFunction("none", {Record<kNone>, {}});
    scenario.RegisterEngineFunction("leap", {Leap, {"label"}});
}

std::string Describe(const Parameter& p) {
    switch (p.kind) {
        case ParamAbsent:
            return "absent";
        case ParamString:
            return "\"" + p.text + "\"";
        case ParamSymbol:
            return "symbol:" + p.text;
        case ParamNumber:
            return std::to_string(p.number);
        default:
            return "unresolved";
    }
}

std::string Describe(const RecordedCall& call) {
    std::string text = call.function + "@" + std::to_string(call.line);
    for (const auto& [name, param] : call.params)
        text += " " + name + "=" + Describe(param);
    return text;
}

void ScenarioTest::SetUp() {
    InTempDir::SetUp();
    ClearRecordedCalls();
    RegisterTestCommands(scenario);
}

void ScenarioTest::Load(const std::string& script) {
    testing_support::WriteFile("main.txt", script);
    scenario.Load("main.txt");
}

std::string ScenarioTest::LoadError(const std::string& script) {
    return MessageOf([&] { Load(script); });
}

std::string ScenarioTest::Run(const std::string& script, int maxSteps) {
    return MessageOf([&] {
        Load(script);
        scenario.Init();
        for (int i = 0; i < maxSteps && scenario.GetStatus() != StatusEnd; ++i)
            scenario.Step();
    });
}

std::string ScenarioTest::Eval(const std::string& expression) {
    ClearRecordedCalls();
    std::string error = Run("x = " + expression + "\nshow #x\n");
    if (error != "(no exception)") return error;
    return Describe(RecordedCalls().at(0).params.at("value"));
}

std::vector<std::string> ScenarioTest::Calls() const {
    std::vector<std::string> calls;
    for (const RecordedCall& call : RecordedCalls())
        calls.push_back(Describe(call));
    return calls;
}

}  // namespace script_testing
