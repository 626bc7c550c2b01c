#pragma once

class Scenario;

// The wait for the player that say, menu and delay end with. It runs on the
// game thread inside the command's callback, with the stage's scene and seam:
// draws the scene on its first frame, hands frames over until a click (in
// menu mode: on a choice, which script then jumps to), the delay timer, or
// the end of the game.
void WaitForPlayer(Scenario& script);
