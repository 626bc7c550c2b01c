#include "shell/Presentation.h"

#include <algorithm>

#include "core/GamePaths.h"
#include "core/Log.h"
#include "core/PixelMemory.h"
#include "graphics/SurfaceFill.h"
#include "shell/Input.h"
#include "shell/Shutdown.h"

SDL_Surface* screen = nullptr;
SDL_Surface* canvas = nullptr;
SDL_Surface* backingSurface = nullptr;
SDL_Surface* saveUnder = nullptr;

Picture cursorPictures[2];
int cursorIndex = 0;
SDL_Rect cursorRect = {0, 0, 0, 0};

std::list<SDL_Rect> dirtyRects;
std::atomic<bool> frameReady{false};
std::atomic<bool> fullRedraw{false};

namespace {

size_t PixelBytes(const SDL_Surface* surface) {
    return static_cast<size_t>(surface->pitch) * static_cast<size_t>(surface->h);
}

// Black, in the screen's format, its pixels in pixel memory (SDL's own
// surfaces would take a fault on every page before the first frame).
SDL_Surface* CreateLikeScreen(int width, int height) {
    const SDL_PixelFormat* format = screen->format;
    int pitch = (width * format->BytesPerPixel + 3) & ~3;  // SDL's own rows
    size_t bytes = static_cast<size_t>(pitch) * static_cast<size_t>(height);
    void* pixels = pixelmemory::Allocate(bytes);
    if (!pixels) FatalError("SDL_CreateRGBSurface failed: Out of memory");
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceFrom(pixels, width, height, format->BitsPerPixel, pitch, format->Rmask,
                                 format->Gmask, format->Bmask, 0);
    if (!surface) FatalError("SDL_CreateRGBSurface failed: %s", SDL_GetError());
    return surface;
}

void FreeSurface(SDL_Surface*& surface) {
    if (!surface) return;
    void* pixels = surface->pixels;
    size_t bytes = PixelBytes(surface);
    SDL_FreeSurface(surface);  // leaves pixels it did not allocate
    pixelmemory::Free(pixels, bytes);
    surface = nullptr;
}

SDL_Rect WholeCanvas() {
    return {0, 0, static_cast<Uint16>(canvas->w), static_cast<Uint16>(canvas->h)};
}

Sint16 NotNegative(Sint16 value) {
    return value < 0 ? 0 : value;
}

// The part of rect that lies on the screen.
SDL_Rect ClipToScreen(const SDL_Rect& rect) {
    int x0 = std::max<int>(rect.x, 0), y0 = std::max<int>(rect.y, 0);
    int x1 = std::min<int>(rect.x + rect.w, screen->w),
        y1 = std::min<int>(rect.y + rect.h, screen->h);
    if (x1 <= x0 || y1 <= y0) return {0, 0, 0, 0};
    return {static_cast<Sint16>(x0), static_cast<Sint16>(y0), static_cast<Uint16>(x1 - x0),
            static_cast<Uint16>(y1 - y0)};
}

// Where the cursor belongs: its hot spot on the mouse position.
SDL_Rect CursorAtMouse() {
    return {static_cast<Sint16>(mouseX.load(std::memory_order_relaxed) - kCursorHotSpot),
            static_cast<Sint16>(mouseY.load(std::memory_order_relaxed) - kCursorHotSpot),
            kCursorSize, kCursorSize};
}

}  // namespace

void CreateSurfaces() {
    canvas = CreateLikeScreen(screen->w, screen->h);
    cursorPictures[0].LoadImage(paths::kArrowCursor);
    cursorPictures[1].LoadImage(paths::kBusyCursor);
    saveUnder = CreateLikeScreen(kCursorSize, kCursorSize);
    backingSurface = CreateLikeScreen(screen->w, screen->h);
    cursorRect.w = cursorRect.h = 0;
}

void FreeSurfaces() {
    FreeSurface(saveUnder);
    FreeSurface(backingSurface);
    FreeSurface(canvas);
}

bool LockCanvas() {
    return !SDL_MUSTLOCK(canvas) || SDL_LockSurface(canvas) >= 0;
}

void AddDirtyRect(const SDL_Rect& rect) {
    dirtyRects.push_back(rect);
}

void ClearCanvas(Uint32 pixel) {
    FillSurface(canvas, pixel);
    AddDirtyRect(WholeCanvas());
}

void RequestFullRedraw() {
    fullRedraw.store(true, std::memory_order_relaxed);
}

void PresentCanvas() {
    if (SDL_MUSTLOCK(canvas)) SDL_UnlockSurface(canvas);
    WaitForPresent();
    SDL_Delay(1);
}

void WaitForPresent() {
    if (fullRedraw.load(std::memory_order_relaxed)) {
        dirtyRects.clear();
        dirtyRects.push_back(WholeCanvas());
        fullRedraw.store(false, std::memory_order_relaxed);
    }
    frameReady.store(true, std::memory_order_release);
    while (frameReady.load(std::memory_order_acquire)) {
        ParkIfShuttingDown();
        SDL_Delay(1);
    }
}

SDL_Rect RestoreUnderCursor() {
    if (cursorRect.w == 0 || cursorRect.h == 0) return {0, 0, 0, 0};
    SDL_Rect source = {0, 0, kCursorSize, kCursorSize};
    SDL_Rect target = {NotNegative(cursorRect.x), NotNegative(cursorRect.y), 0, 0};
    SDL_BlitSurface(saveUnder, &source, screen, &target);
    return target;
}

void CopyFrame(SDL_Rect* updates, int& count) {
    if (!frameReady.load(std::memory_order_acquire)) return;
    // SDL refuses to blit from a locked surface.
    Uint32 locks = canvas->locked;
    for (Uint32 i = 0; i < locks; ++i)
        SDL_UnlockSurface(canvas);
    for (SDL_Rect& rect : dirtyRects) {
        if (count >= kUpdateListSize - 1) break;
        SDL_BlitSurface(canvas, &rect, screen, &rect);  // leaves the clipped rectangle
        updates[count++] = rect;
    }
    for (Uint32 i = 0; i < locks; ++i)
        SDL_LockSurface(canvas);
    dirtyRects.clear();
    frameReady.store(false, std::memory_order_release);
}

bool CursorMoved() {
    SDL_Rect now = CursorAtMouse();
    return cursorRect.w == 0 || cursorRect.x != now.x || cursorRect.y != now.y;
}

SDL_Rect DrawCursor() {
    cursorRect = CursorAtMouse();
    SDL_Rect source = {NotNegative(cursorRect.x), NotNegative(cursorRect.y), kCursorSize,
                       kCursorSize};
    SDL_Rect saved = {0, 0, 0, 0};
    SDL_BlitSurface(screen, &source, saveUnder, &saved);
    if (saved.w == 0 || saved.h == 0) return {0, 0, 0, 0};  // a zero size would mean "all"
    SDL_Rect pictureArea = {0, 0, saved.w, saved.h};
    SDL_Rect target = {cursorRect.x, cursorRect.y, 0, 0};
    cursorPictures[cursorIndex].Blit(screen, pictureArea, target, 255);
    return ClipToScreen(cursorRect);
}
