#pragma once

#include <string>

namespace testing_support {

// UTF-8 text in Windows-1251, through the system's own converter (iconv, or
// Windows's code page 1251), independent of the game's character table;
// "(not convertible)" when a character has no byte there.
std::string Utf8ToWindows1251(const std::string& utf8);

}  // namespace testing_support
