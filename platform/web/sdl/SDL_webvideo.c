/* SDL 1.2 video driver for the web: a software screen whose changed
   rectangles are copied, exactly, onto the page's 2D canvas. The game's
   thread calls in here; the canvas belongs to the browser's main thread, so
   each update runs there synchronously and reads the screen's pixels straight
   from the shared wasm memory before the game may draw again. The page's side
   is Module.velmoraCanvas (platform/web/page/index.html). */
#include <emscripten.h>

#include "SDL_config.h"
#include "SDL_video.h"
#include "video/SDL_pixels_c.h"
#include "video/SDL_sysvideo.h"

#include "SDL_webevents_c.h"

#define WEBVID_DRIVER_NAME "web"

struct SDL_PrivateVideoData {
    void* buffer;
};

static int WEB_Available(void) {
    return 1;
}

static int WEB_VideoInit(SDL_VideoDevice* this, SDL_PixelFormat* vformat) {
    vformat->BitsPerPixel = 32;
    vformat->BytesPerPixel = 4;
    WEB_StartInput();
    return 0;
}

static SDL_Rect** WEB_ListModes(SDL_VideoDevice* this, SDL_PixelFormat* format, Uint32 flags) {
    return (SDL_Rect**)-1;
}

/* The canvas takes the screen's size; its pixels are the screen's. */
static SDL_Surface* WEB_SetVideoMode(SDL_VideoDevice* this, SDL_Surface* current, int width,
                                     int height, int bpp, Uint32 flags) {
    SDL_free(this->hidden->buffer);
    this->hidden->buffer = SDL_calloc((size_t)width * height, 4);
    if (!this->hidden->buffer) {
        SDL_SetError("Couldn't allocate buffer for requested mode");
        return NULL;
    }
    if (!SDL_ReallocFormat(current, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0)) {
        SDL_free(this->hidden->buffer);
        this->hidden->buffer = NULL;
        return NULL;
    }
    current->flags = flags & SDL_FULLSCREEN;
    current->w = width;
    current->h = height;
    current->pitch = width * 4;
    current->pixels = this->hidden->buffer;
    MAIN_THREAD_EM_ASM({ Module.velmoraCanvas.resize($0, $1); }, width, height);
    return current;
}

static int WEB_AllocHWSurface(SDL_VideoDevice* this, SDL_Surface* surface) {
    return -1;
}
static void WEB_FreeHWSurface(SDL_VideoDevice* this, SDL_Surface* surface) {}
static int WEB_LockHWSurface(SDL_VideoDevice* this, SDL_Surface* surface) {
    return 0;
}
static void WEB_UnlockHWSurface(SDL_VideoDevice* this, SDL_Surface* surface) {}
static int WEB_SetColors(SDL_VideoDevice* this, int first, int count, SDL_Color* colors) {
    return 1;
}

static void WEB_UpdateRects(SDL_VideoDevice* this, int numrects, SDL_Rect* rects) {
    SDL_Surface* screen = this->screen;
    if (!screen || !screen->pixels) return;
    MAIN_THREAD_EM_ASM({ Module.velmoraCanvas.update(HEAPU32, $0, $1, $2, $3, $4); },
                       screen->pixels, screen->pitch, numrects, rects, sizeof(SDL_Rect));
}

static void WEB_VideoQuit(SDL_VideoDevice* this) {
    WEB_StopInput();
    if (this->screen && this->screen->pixels == this->hidden->buffer) this->screen->pixels = NULL;
    SDL_free(this->hidden->buffer);
    this->hidden->buffer = NULL;
}

static void WEB_DeleteDevice(SDL_VideoDevice* device) {
    SDL_free(device->hidden);
    SDL_free(device);
}

static SDL_VideoDevice* WEB_CreateDevice(int devindex) {
    SDL_VideoDevice* device = SDL_calloc(1, sizeof *device);
    if (device) device->hidden = SDL_calloc(1, sizeof *device->hidden);
    if (!device || !device->hidden) {
        SDL_OutOfMemory();
        SDL_free(device);
        return NULL;
    }
    device->VideoInit = WEB_VideoInit;
    device->ListModes = WEB_ListModes;
    device->SetVideoMode = WEB_SetVideoMode;
    device->SetColors = WEB_SetColors;
    device->UpdateRects = WEB_UpdateRects;
    device->VideoQuit = WEB_VideoQuit;
    device->AllocHWSurface = WEB_AllocHWSurface;
    device->LockHWSurface = WEB_LockHWSurface;
    device->UnlockHWSurface = WEB_UnlockHWSurface;
    device->FreeHWSurface = WEB_FreeHWSurface;
    device->InitOSKeymap = WEB_InitOSKeymap;
    device->PumpEvents = WEB_PumpEvents;
    device->free = WEB_DeleteDevice;
    return device;
}

VideoBootStrap WEB_bootstrap = {WEBVID_DRIVER_NAME, "SDL web canvas driver", WEB_Available,
                                WEB_CreateDevice};
