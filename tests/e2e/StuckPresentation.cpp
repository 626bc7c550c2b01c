// Preloaded into the program by tests that need its main thread stuck inside
// SDL's presentation, as a GPU driver that never returns leaves it: the first
// SDL_UpdateRects writes "presentation-stuck" into the working directory and
// never returns.
#include <time.h>

#include <cstdio>

extern "C" void SDL_UpdateRects(void*, int, void*) {
    if (std::FILE* mark = std::fopen("presentation-stuck", "w")) std::fclose(mark);
    for (;;) {
        timespec second = {1, 0};
        nanosleep(&second, nullptr);
    }
}
