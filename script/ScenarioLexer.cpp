#include "script/Arithmetic.h"
#include "script/CharClass.h"
#include "script/Scenario.h"

void Scenario::SkipBlanks() {
    while (IsBlank(*cursor))
        ++cursor;
}

std::string Scenario::ReadIdentifier() {
    const char* start = cursor;
    if (!IsLetter(*cursor)) return std::string();
    while (IsIdentifierChar(*cursor))
        ++cursor;
    return std::string(start, cursor);
}

// Reads an optionally negative decimal integer, wrapping on overflow. Leaves
// the cursor in place and returns 0 when no digit follows.
int32_t Scenario::ReadInteger() {
    bool negative = cursor[0] == '-' && IsDigit(cursor[1]);
    if (negative) ++cursor;
    uint32_t value = 0;
    while (IsDigit(*cursor))
        value = value * 10u + static_cast<uint32_t>(*cursor++ - '0');
    return negative ? WrappingNegate(FromBits(value)) : FromBits(value);
}

// The two escapes of every quoted string: "" for a double quote and --- for
// a line feed. Appends what one stands for and steps over it; false when the
// cursor is on neither.
bool Scenario::ReadStringEscape(std::string& text) {
    if (cursor[0] == '"' && cursor[1] == '"') {
        text += '"';
        cursor += 2;
        return true;
    }
    if (cursor[0] == '-' && cursor[1] == '-' && cursor[2] == '-') {
        text += '\n';
        cursor += 3;
        return true;
    }
    return false;
}
