#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An editor's text (UTF-8) as the game reads it: Windows-1251 bytes through
// the game's own character table. Each Windows-1251 character is one UTF-16
// unit, so a byte's column is the editor's column; a character the table
// cannot hold becomes "?" (two for one outside the 16-bit plane, which takes
// two units) and is noted with its place. Needs BuildCharacterTable first;
// the table is read once, by ReadCharacterTable or the first call here, and
// kept: call it before a storyboard walk starts on another thread. Then any
// thread.
struct ScriptText {
    struct Foreign {
        int line;       // editor line, from 0
        int character;  // UTF-16 column
        uint32_t codePoint;
    };
    std::string bytes;
    std::vector<Foreign> foreign;
};

void ReadCharacterTable();

ScriptText ToScriptText(const std::string& utf8);

// The message of a character the game cannot show.
std::string ForeignMessage(uint32_t codePoint);

// Script bytes (Windows-1251) back as UTF-8, for names shown in the editor.
std::string ScriptBytesToUtf8(const std::string& bytes);
