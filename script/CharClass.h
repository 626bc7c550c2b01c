#pragma once

// Character classes of script text. Bytes of 128 and above belong to none of
// them, whatever the signedness of char, so non-ASCII text never forms names.
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

inline bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline bool IsIdentifierChar(char c) {
    return IsLetter(c) || IsDigit(c) || c == '_';
}
