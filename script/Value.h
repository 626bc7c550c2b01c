#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

enum ValueType { NumberValue = 1, StringValue = 2 };

// The longest string a script can build. Joining past it is an error: a loop
// that doubles a string would otherwise take all the player's memory.
constexpr size_t kMaxStringLength = size_t{16} << 20;

// A script value: a 32-bit signed number or a byte string.
struct Value {
    int32_t type = NumberValue;
    int32_t number = 0;
    std::string text;

    static Value Number(int32_t number) {
        Value value;
        value.number = number;
        return value;
    }

    static Value String(std::string text) {
        Value value;
        value.type = StringValue;
        value.text = std::move(text);
        return value;
    }

    // Numbers are true when not 0, strings when not empty.
    bool IsTrue() const { return type == NumberValue ? number != 0 : !text.empty(); }

    bool operator==(const Value& other) const {
        return type == other.type && number == other.number && text == other.text;
    }
    bool operator!=(const Value& other) const { return !(*this == other); }
};
