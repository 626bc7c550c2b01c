#include "core/GameSettings.h"

#include "core/File.h"

namespace {

bool IsKeyChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

GameSettings::GameSettings() : cursor(lineBuffer) {
    keys.reserve(100);
    lineBuffer[0] = '\0';
}

GameSettings::~GameSettings() = default;

void GameSettings::Load(const char* path) {
    File file;
    file.OpenRead(path);
    while (!file.IsEof()) {
        file.ReadLine(lineBuffer, sizeof lineBuffer);
        std::string key;
        int32_t value;
        if (ParseLine(key, value)) keys[key] = value;
    }
    file.Close();
}

int32_t GameSettings::GetInt(const std::string& key, int32_t defaultValue) const {
    auto found = keys.find(key);
    return found == keys.end() ? defaultValue : found->second;
}

bool GameSettings::ParseLine(std::string& key, int32_t& value) {
    cursor = lineBuffer;
    SkipBlanks();
    const char* keyStart = cursor;
    while (IsKeyChar(*cursor))
        ++cursor;
    if (cursor == keyStart) return false;
    key.assign(keyStart, cursor);
    SkipBlanks();
    if (*cursor != '=') return false;
    ++cursor;
    SkipBlanks();
    const char* numberStart = cursor;
    if (!ReadNumber(value)) return false;
    return *cursor == '\0' && cursor != numberStart;
}

void GameSettings::SkipBlanks() {
    while (*cursor == ' ')
        ++cursor;
}

// Reads decimal, "0x" hex, or either after one "-"; wraps on overflow.
// Returns false when no number starts at the cursor.
bool GameSettings::ReadNumber(int32_t& value) {
    bool negative = false;
    if (*cursor == '-') {
        if (!IsDigit(cursor[1])) return false;
        negative = true;
        ++cursor;
    }
    uint32_t result = 0;
    if (cursor[0] == '0' && cursor[1] == 'x') {
        cursor += 2;
        for (int digit; (digit = HexDigit(*cursor)) >= 0; ++cursor)
            result = result * 16 + digit;
    } else {
        for (; IsDigit(*cursor); ++cursor)
            result = result * 10 + (*cursor - '0');
    }
    if (negative) result = 0u - result;
    value = static_cast<int32_t>(result);
    return true;
}
