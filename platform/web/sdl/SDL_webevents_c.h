/* The web driver's input: the page's mouse, key and focus events, queued by
   the browser's main thread in shared memory, taken into SDL's event queue by
   the game's thread when it pumps events. */
#include "video/SDL_sysvideo.h"

void WEB_StartInput(void);
void WEB_StopInput(void);
void WEB_InitOSKeymap(SDL_VideoDevice* this);
void WEB_PumpEvents(SDL_VideoDevice* this);
