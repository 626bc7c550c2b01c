#pragma once

#include <string>

// Where the programs and libraries that packages are made from lie: in the
// build tree "runtimes/" beside velmora-pack, once installed
// "../share/velmora/runtimes/" from its bin/. scripts/runtimes.sh makes them.

// The runtimes folder for a tool at toolPath: the first of the two places
// that exists, or the build tree's when neither does (its error then names
// a path the author knows).
std::string RuntimesFolder(const std::string& toolPath);

// The path of the running program, from /proc/self/exe; argv0 when that
// cannot be read.
std::string OwnPath(const char* argv0);
