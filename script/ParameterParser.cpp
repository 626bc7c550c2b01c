#include <utility>

#include "core/Exception.h"
#include "script/CharClass.h"
#include "script/Scenario.h"

// Parses the parameter list from the cursor to the end of the line. A name
// and "=" before a parameter name it; a name left at the end is dropped.
void Scenario::ParseParameters(std::list<Parameter>& params, const char* path, int line) {
    std::string pendingName;
    while (!AtLineEnd()) {
        Parameter param;
        if (*cursor == '#') {
            param = ParseEvalParameter(path, line);
        } else if (*cursor == '"') {
            ++cursor;
            param = ParseStringParameter(path, line);
        } else if (IsDigit(*cursor) || *cursor == '-') {
            param = ParseNumberParameter(path, line);
        } else {
            std::string identifier = ReadIdentifier();
            if (identifier.empty())
                throw Exception("Invalid parameter symbol in %s at line %d", path, line);
            SkipBlanks();
            if (*cursor == '=') {
                if (!pendingName.empty())
                    throw Exception("Double named parameter in %s at line %d", path, line);
                pendingName = std::move(identifier);
                ++cursor;
                SkipBlanks();
                continue;  // the named parameter follows without a separator
            }
            param.kind = ParamSymbol;
            param.text = std::move(identifier);
        }
        param.name = std::move(pendingName);
        pendingName.clear();
        params.push_back(std::move(param));
        ParseSeparator(path, line);
    }
}

// After a parameter: the end of the line, or a comma with optional blanks
// around it and another parameter after it.
void Scenario::ParseSeparator(const char* path, int line) {
    if (AtLineEnd()) return;
    SkipBlanks();
    if (AtLineEnd()) throw Exception("Extra spaces in %s at line %d", path, line);
    if (*cursor != ',') throw Exception("Invalid parameters syntax in %s at line %d", path, line);
    ++cursor;
    SkipBlanks();
    if (AtLineEnd()) throw Exception("Extra spaces in %s at line %d", path, line);
}

// "#{expression}" or "#expression", with the blanks after it.
Parameter Scenario::ParseEvalParameter(const char* path, int line) {
    ++cursor;
    if (AtLineEnd()) throw Exception("Missing eval expression in %s at line %d", path, line);
    Parameter param;
    param.kind = ParamEval;
    param.expression =
        *cursor == '{' ? ParseBracedExpression(path, line) : ParseExpression(path, line);
    SkipBlanks();
    return param;
}

// A number ends the line: nothing, not even a blank, may follow its digits.
Parameter Scenario::ParseNumberParameter(const char* path, int line) {
    const char* start = cursor;
    Parameter param;
    param.kind = ParamNumber;
    param.number = ReadInteger();
    if (cursor == start || !AtLineEnd())
        throw Exception("Invalid parameter number in %s at line %d", path, line);
    return param;
}

// "{", blanks, an expression, blanks, "}", with the cursor on the "{".
Expression Scenario::ParseBracedExpression(const char* path, int line) {
    ++cursor;
    SkipBlanks();
    Expression e = ParseExpression(path, line);
    SkipBlanks();
    if (*cursor != '}') throw Exception("Invalid eval expression in %s at line %d", path, line);
    ++cursor;
    return e;
}

// The text after an opening double quote up to the closing one. Literal text
// and embedded expressions form segments; a string of several segments
// becomes their concatenation, evaluated when the call runs.
Parameter Scenario::ParseStringParameter(const char* path, int line) {
    std::string text;
    std::vector<Expression> segments;
    for (;;) {
        if (AtLineEnd()) throw Exception("Invalid parameter string in %s at line %d", path, line);
        if (ReadStringEscape(text)) continue;
        if (*cursor == '"') {
            ++cursor;
            break;
        }
        if (cursor[0] == '#' && cursor[1] == '#') {
            text += '#';
            cursor += 2;
        } else if (*cursor == '#') {
            ++cursor;
            if (!text.empty()) segments.emplace_back(ExprString, std::move(text));
            text.clear();
            segments.push_back(*cursor == '{' ? ParseBracedExpression(path, line)
                                              : ParseExpression(path, line));
        } else {
            text += *cursor++;
        }
    }
    if (!text.empty()) segments.emplace_back(ExprString, std::move(text));

    Parameter param;
    param.kind = ParamString;
    if (segments.size() == 1 && segments[0].kind == ExprString) {
        param.text = std::move(segments[0].text);
    } else if (segments.size() == 1) {
        param.kind = ParamEval;
        param.expression = std::move(segments[0]);
    } else if (segments.size() > 1) {
        param.kind = ParamEval;
        param.expression = BuildConcatenation(segments);
    }
    return param;
}

// s0 + (s1 + (... + sN)), nested to the right, every operand a string.
// Built from the right end so that long chains need no recursion.
Expression Scenario::BuildConcatenation(std::vector<Expression>& segments) {
    Expression chain = AsStringSegment(std::move(segments.back()));
    for (size_t i = segments.size() - 1; i-- > 0;)
        chain = Expression::Binary('+', AsStringSegment(std::move(segments[i])), std::move(chain));
    return chain;
}

// A string literal as it is; anything else wrapped in a call of str.
Expression Scenario::AsStringSegment(Expression e) {
    if (e.kind == ExprString) return e;
    Expression call(ExprCall, "str");
    call.children.push_back(std::move(e));
    return call;
}
