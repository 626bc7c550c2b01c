#pragma once

// Runs on the main thread until the game thread has finished: presents the
// frames the game thread hands over, draws the cursor and polls events.
void MainLoop();
