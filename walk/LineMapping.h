#pragma once

#include <set>
#include <string>
#include <vector>

// Following a line of a script through the author's edit.

// The script's lines as text, without their line ends; none for a file that
// cannot be read.
std::vector<std::string> ReadScriptLines(const std::string& path);

// The line of after that holds what line (from 1) held in before: the line
// itself when its text stayed, else the nearest line with the same text
// (spaces at the ends aside; the later one on a tie), else the same number,
// no further than after's last line.
int MapLineThroughEdit(const std::vector<std::string>& before,
                       const std::vector<std::string>& after, int line);

// Of lines, the one nearest to line (the earlier on a tie); 0 when empty.
int NearestLine(const std::set<int>& lines, int line);
