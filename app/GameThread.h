#pragma once

// The game thread: registers the commands, loads the fonts, the text box
// picture and the script, then steps the script while the game runs.
int GameThreadMain(void* unused);
void RunGame();
// The stage's seam to the window and its fonts and text box picture.
void PrepareStage();
