#pragma once

#include "commands/PlayerSeam.h"

// The wait's seam in the game: frames go to the main loop through the
// shell's frame hand-over, input comes from its event poll, and the running
// flag is the shell's. Valid once the surfaces exist.
PlayerSeam GameSeam();
