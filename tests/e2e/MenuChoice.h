#pragma once

#include <cstddef>
#include <string>

namespace e2e {

// A point of the game's window, in pixels from its top left corner.
struct ScreenPoint {
    int x;
    int y;
};

// Where a test clicks to take choice `choice` (0 the first) of a menu in the
// game in folder `game`: just inside the choice's first letter, half a line
// down, from the game's settings, its text box picture and its font. A click
// there also ends any other wait. scripts/display.sh (first_choice) says the
// same for the scripts.
ScreenPoint MenuChoicePoint(const std::string& game, size_t choice);

}  // namespace e2e
