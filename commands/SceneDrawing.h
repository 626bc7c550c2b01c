#pragma once

#include <SDL_video.h>

#include <cstddef>
#include <vector>

#include "commands/Canvas.h"
#include "commands/Stage.h"

// The scene as the player sees it, drawn from the stage into the canvas it
// is given. Nothing here waits, presents or reads input.

// The text box strip of the canvas: (0, H - B, W, B), B the box picture's height.
SDL_Rect TextBoxRect(const Stage& stage, const SDL_Surface* canvas);
// Copy the text box strip from the canvas into the backing surface, or back.
void SaveTextBoxArea(const Stage& stage, const Canvas& canvas);
void RestoreTextBoxArea(const Stage& stage, const Canvas& canvas);

// Draws the whole canvas: black, background, characters, the text box with
// the speaker label and the line text.
void DrawScene(const Stage& stage, const Canvas& canvas);

// Where a menu choice lies on the canvas: one primary line high and as wide
// as its text, up to the canvas's right edge; also the area where the mouse
// selects it.
struct ChoiceBox {
    int x, y, w, h;

    bool Contains(int px, int py) const { return x <= px && px < x + w && y <= py && py < y + h; }
    SDL_Rect Rect() const {
        return {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                static_cast<Uint16>(h)};
    }
};

ChoiceBox ChoiceAt(const Stage& stage, const SDL_Surface* canvas, size_t index);
// The index of the choice under the mouse (mouseX, mouseY), or -1.
int ChoiceUnder(const Stage& stage, const SDL_Surface* canvas, int mouseX, int mouseY);

// Redraws the text box with the choices, the one under the mouse (mouseX,
// mouseY) highlighted; appends each choice's rectangle to changed. Returns
// the index of the choice under the mouse, or -1.
int DrawMenu(const Stage& stage, const Canvas& canvas, int mouseX, int mouseY,
             std::vector<SDL_Rect>& changed);
