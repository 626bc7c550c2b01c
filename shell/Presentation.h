#pragma once

#include <SDL.h>

#include <atomic>
#include <list>

#include "graphics/Picture.h"

// The game thread draws into the canvas and lists the rectangles it changed;
// the main loop copies them to the screen when a frame is handed over, and
// draws the software mouse cursor on top. The canvas and the list belong to
// the game thread while frameReady is false and to the main loop while it is
// true; that flag is the only hand-over.

extern SDL_Surface* screen;          // the video surface; main thread only
extern SDL_Surface* canvas;          // the game thread's drawing target
extern SDL_Surface* backingSurface;  // spare copy of canvas regions (text box)
extern SDL_Surface* saveUnder;       // the screen under the cursor, 64 x 64

extern Picture cursorPictures[2];  // 0: "data/arrow.png", 1: "data/busy.png"
extern int cursorIndex;
extern SDL_Rect cursorRect;  // where the cursor was last drawn; w = h = 0 before

extern std::list<SDL_Rect> dirtyRects;
extern std::atomic<bool> frameReady;
extern std::atomic<bool> fullRedraw;

const int kCursorSize = 64;
const int kCursorHotSpot = 32;
const int kUpdateListSize = 256;

// Start-up and exit (main thread).
void CreateSurfaces();
void FreeSurfaces();

// Game thread.
bool LockCanvas();
void AddDirtyRect(const SDL_Rect& rect);
void ClearCanvas(Uint32 pixel);
void RequestFullRedraw();
void PresentCanvas();
void WaitForPresent();

// Main loop, once per pass in this order. CopyFrame appends the copied
// rectangles to updates (which holds count entries, room for kUpdateListSize).
SDL_Rect RestoreUnderCursor();
void CopyFrame(SDL_Rect* updates, int& count);
SDL_Rect DrawCursor();
// Whether the cursor is not yet drawn where the mouse is now (main loop).
bool CursorMoved();
