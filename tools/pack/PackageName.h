#pragma once

#include <string>

// The name a package is given: the start of its archives' file names, of the
// Windows program and of the Linux folder and start script.

// The name made safe as a file name on Windows and Linux: ASCII letters,
// digits, '.', '_' and '-' are kept, each run of anything else becomes one
// '-', and leading dots and dashes go (a name must not hide itself or look
// like an option). "game" when nothing is left.
std::string SafePackageName(const std::string& wanted);

// True when the name would stand in the same folder as one of the package's
// own entries ("data", "lib", ...), so it cannot be used.
bool ClashesWithPackage(const std::string& name);
