#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "script/EngineFunction.h"
#include "script/Expression.h"
#include "script/MathFunction.h"
#include "script/Parameter.h"
#include "script/Statement.h"
#include "script/Value.h"

enum Status { StatusEmpty = 0, StatusLoaded = 1, StatusRunning = 2, StatusEnd = 3 };

// Where a run of a loaded script stands: a tool that follows every branch of
// a story saves it at a menu and puts it back to take another choice.
struct RunState {
    int32_t status = StatusEmpty;
    uint32_t nextStatement = 0;
    std::map<std::string, Value> variables;
};

// A scenario script: compiled once by Load into statements and labels, then
// run one statement per Step with its variables, math functions and the
// engine functions the host registered. Errors are thrown as Exception, with
// the script path and line for everything found in the script. Not copyable.
class Scenario {
public:
    explicit Scenario(bool checkNames = true);
    Scenario(const Scenario&);
    Scenario& operator=(const Scenario&);
    ~Scenario();

    // Loading (ScenarioLoader.cpp).
    void Clear();
    void Load(const char* path);
    const std::string& ScriptName() const { return scriptName; }

    // One line that failed to compile, with the exception's message.
    struct LineError {
        int line;
        std::string message;
    };
    // Compiles the script as Load does, except that a line that fails is left
    // out and compiling goes on with the next line. Returns the errors in file
    // order; the script is loaded, and can be started, only when there are none.
    std::vector<LineError> LoadEveryLine(const char* path);

    // The compiled script, for tools that examine it without running it.
    const std::vector<Statement>& Statements() const { return statements; }
    const std::map<std::string, uint32_t>& Labels() const { return labels; }
    const EngineFunctionInfo* FindEngineFunction(const std::string& name) const;
    const std::map<std::string, EngineFunctionInfo>& EngineFunctions() const {
        return engineFunctions;
    }

    // Registries. Engine functions must be registered before a Load that
    // calls them while names are checked.
    void RegisterEngineFunction(const char* name, const EngineFunctionInfo& info);
    void RegisterMathFunction(const char* name, MathFunction function);

    // Execution (Execution.cpp).
    void Init();
    void Step();
    void SetStatusEnd();
    int32_t GetStatus() const { return status; }
    void JumpToLabel(const std::string& label, int line);
    // The source line of the statement the next Step runs; 0 when none is left.
    int NextLine() const;

    // Saving and restoring a run of the same loaded script. A restored run
    // stands as at the start of a Step: no jump has been made in it yet.
    RunState SaveRun() const;
    void RestoreRun(const RunState& run);

    // Evaluation (Evaluator.cpp).
    Value Evaluate(const Expression& e, int line);
    bool IsTrue(const Expression& e, int line);

private:
    struct ParseFrame;

    // Lexical operations on the cursor (ScenarioLexer.cpp).
    bool AtLineEnd() const { return *cursor == '\0'; }
    void SkipBlanks();
    std::string ReadIdentifier();
    int32_t ReadInteger();
    bool ReadStringEscape(std::string& text);

    // Line forms (ScenarioLoader.cpp).
    template <typename OnLine>
    void CompileFile(const char* path, OnLine compile);
    void CompileLine(const char* path, int line);
    void CompileLabel(const char* path, int line);
    void CompileStatement(const char* path, int line);

    // Call parameters (ParameterParser.cpp).
    void ParseParameters(std::list<Parameter>& params, const char* path, int line);
    Parameter ParseEvalParameter(const char* path, int line);
    Parameter ParseNumberParameter(const char* path, int line);
    Parameter ParseStringParameter(const char* path, int line);
    Expression ParseBracedExpression(const char* path, int line);
    void ParseSeparator(const char* path, int line);
    static Expression BuildConcatenation(std::vector<Expression>& segments);
    static Expression AsStringSegment(Expression e);

    // Expressions (ExpressionParser.cpp).
    Expression ParseExpression(const char* path, int line);
    static bool UnaryAllowed(const std::vector<ParseFrame>& open);
    static void Reduce(std::vector<ParseFrame>& open, Expression& operand, int minStrength);
    bool ParseOperand(std::vector<ParseFrame>& open, Expression& operand, const char* path,
                      int line);
    bool StartCall(std::vector<ParseFrame>& open, Expression& name, Expression& operand,
                   const char* path, int line);
    bool ParseAfterOperand(std::vector<ParseFrame>& open, Expression& operand, const char* path,
                           int line);
    bool CloseGroup(std::vector<ParseFrame>& open, Expression& operand, const char* path, int line);
    Expression NextToken(bool allowUnary);
    int ReadOperator(bool allowUnary);
    std::string ReadStringLiteral();

    // Evaluation (Evaluator.cpp).
    struct EvalFrame {
        const Expression* node;  // an operator or a call whose operands are being evaluated
        size_t nextChild;
        MathFunction function;  // of a call
    };
    Value ApplyToLeaves(const Expression& e, int line);
    void EvaluateTree(const Expression& root, int line, size_t frameBase);
    void OpenNode(const Expression& e, int line);
    void FinishNode(const EvalFrame& done, int line);
    Value LeafValue(const Expression& e, int line) const;
    const Value& LeafRef(const Expression& e, int line, Value& literal) const;
    const Value& VariableValue(const Expression& e, int line) const;

    // Execution (Execution.cpp).
    void ExecuteNext();
    void ForgetVisitedLabels();
    void CallEngineFunction(const Statement& statement);
    Parameter ResolveParameter(const Parameter& p, int line);

    std::string scriptName;
    std::vector<Statement> statements;
    std::map<std::string, uint32_t> labels;  // label -> index of the statement below it
    std::map<std::string, Value> variables;
    std::map<std::string, EngineFunctionInfo> engineFunctions;
    std::map<std::string, MathFunction> mathFunctions;
    bool checkNames;
    int32_t status;
    uint32_t nextStatement;
    bool progress;  // an assignment ran since the last jump (endless-loop guard)
    std::map<std::string, bool> visitedLabels;  // true: jumped to in this Step
    std::vector<bool*> visitedThisStep;         // the entries of visitedLabels set true
    const char* cursor;
    char lineBuffer[4096];

    // Working lists of Evaluate.
    std::vector<EvalFrame> evalFrames;
    std::vector<Value> evalValues;
};
