#pragma once

// The stage the script target plays on: a small game folder (fuzz/game,
// with the demo's font) linked into the scratch directory, the game's
// commands registered with one Scenario, its canvas of the size that the
// game's settings give, and a player
// behind the stage's seam who answers every wait at once: a click on the
// next pass, on one of the choices in a menu. Fuzz targets' thread only.

class Scenario;

namespace fuzzing {

// Links the small game folder into the working directory (the scratch one),
// once, and starts the font engine and the character table; the input
// becomes the game's script.
void PrepareGame();

// Sets the stage up on the first call, in the scratch directory; returns the
// scenario to load scripts into.
Scenario& FuzzStage();

// Empties the scene and the picture cache and gives the player a fresh game,
// so that an input plays the same however many ran before it.
void ResetStage();

// Whether the game still runs: false once the script ends the game, or once
// the player has seen so many frames of this input that a wait must be one
// that no click ends.
bool StageRunning();

}  // namespace fuzzing
