#pragma once

#include <string>

// Game thread: draws a finding ("data/scenario/main.txt:5: error: ...") in
// words in a band across the top of the canvas, over the frame it holds,
// and hands the frame over.
void ShowFinding(const std::string& finding);
