#pragma once

// Script text is single-byte Windows-1251 text; SDL_ttf wants UTF-8. The table
// gives each byte its UTF-8 form: ASCII and other bytes stand for themselves,
// the 66 Cyrillic letters become two-byte sequences.

void BuildCharacterTable();

// The UTF-8 text (at most two bytes) for one byte, in a buffer shared by all
// calls: valid until the next call. Game thread only.
const char* CharacterToUtf8(unsigned char byte);
