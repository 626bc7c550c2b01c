#pragma once

#include <SDL.h>

// The scene on screen and the wait for the player, shared by say, menu and
// delay. All of it runs on the game thread, inside the command's callback.

// Redraws the scene each time it is called and hands frames to the main loop
// until a click (in menu mode: on a choice, which is then jumped to), the
// delay timer, or the end of the game.
void WaitForPlayer();

// Draws the whole canvas from the scene: black, background, characters, the
// text box with the speaker label and the line text.
void DrawScene();

// Redraws the text box with the choices; returns the index of the choice
// under the mouse, or -1.
int DrawMenu();

// The text box strip of the canvas: (0, H - B, W, B), B the box picture's height.
SDL_Rect TextBoxRect();
void SaveTextBoxArea();
void RestoreTextBoxArea();
