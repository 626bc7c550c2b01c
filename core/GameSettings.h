#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

// A table of integer settings read from "key = number" lines; lines that do
// not match the grammar are skipped silently.
class GameSettings {
public:
    GameSettings();
    virtual ~GameSettings();

    void Load(const char* path);
    int32_t GetInt(const std::string& key, int32_t defaultValue) const;

private:
    bool ParseLine(std::string& key, int32_t& value);
    void SkipBlanks();
    bool ReadNumber(int32_t& value);

    std::unordered_map<std::string, int32_t> keys;
    char lineBuffer[4096];
    const char* cursor;
};
