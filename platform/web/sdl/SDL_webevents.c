/* Input for the web driver. The page (Module.velmoraInput) writes each event
   as four ints into a ring in wasm memory and then advances the write count
   with Atomics; the game's thread reads up to that count here and hands the
   events to SDL. One writer, one reader: no lock; the page drops an event
   rather than overwrite one not yet taken. Coordinates arrive already
   mapped from the scaled canvas back to the game's pixels. */
#include <emscripten.h>

#include "SDL_config.h"
#include "SDL_events.h"
#include "events/SDL_events_c.h"
#include "events/SDL_sysevents.h"

#include "SDL_webevents_c.h"

enum { kMotion = 1, kButtonDown, kButtonUp, kKeyDown, kKeyUp, kFocus };
enum { kSlots = 256 };

static int events[kSlots][4];
static unsigned written; /* by the page */
static unsigned taken;   /* by the game, read by the page to see the free room */

void WEB_StartInput(void) {
    __atomic_store_n(&taken, 0, __ATOMIC_SEQ_CST);
    __atomic_store_n(&written, 0, __ATOMIC_SEQ_CST);
    MAIN_THREAD_EM_ASM({ Module.velmoraInput.attach(HEAP32, $0, $1, $2, $3); }, &events[0][0],
                       &written, &taken, kSlots);
}

void WEB_StopInput(void) {
    MAIN_THREAD_EM_ASM({ Module.velmoraInput.detach(); });
}

void WEB_InitOSKeymap(SDL_VideoDevice* this) {}

static void Key(int state, int sym, int unicode) {
    SDL_keysym keysym;
    keysym.scancode = 0;
    keysym.sym = (SDLKey)sym;
    keysym.mod = KMOD_NONE;
    keysym.unicode = (Uint16)unicode;
    SDL_PrivateKeyboard((Uint8)state, &keysym);
}

static void Deliver(const int* event) {
    switch (event[0]) {
        case kMotion:
            SDL_PrivateMouseMotion(0, 0, (Sint16)event[1], (Sint16)event[2]);
            break;
        case kButtonDown:
        case kButtonUp:
            SDL_PrivateMouseMotion(0, 0, (Sint16)event[2], (Sint16)event[3]);
            SDL_PrivateMouseButton(event[0] == kButtonDown ? SDL_PRESSED : SDL_RELEASED,
                                   (Uint8)event[1], 0, 0);
            break;
        case kKeyDown:
            Key(SDL_PRESSED, event[1], event[2]);
            break;
        case kKeyUp:
            Key(SDL_RELEASED, event[1], 0);
            break;
        case kFocus:
            SDL_PrivateAppActive((Uint8)event[1], SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS);
            break;
    }
}

void WEB_PumpEvents(SDL_VideoDevice* this) {
    unsigned end = __atomic_load_n(&written, __ATOMIC_ACQUIRE);
    unsigned next = taken;
    /* The page writes only into free room, so nothing is overwritten. */
    for (; next != end; ++next)
        Deliver(events[next % kSlots]);
    __atomic_store_n(&taken, next, __ATOMIC_RELEASE);
}
