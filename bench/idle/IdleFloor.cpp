// The least CPU a program of the game's design costs while nothing happens:
// one window, a main loop that polls events and sleeps 1 ms per pass, and a
// second thread that sleeps 1 ms in a loop. scripts/idle-cpu.sh measures the
// game against it. Ends on closing the window, on Escape, or when killed.
//
//   idle_floor [width height]   (800 x 600 by default)
#include <SDL.h>

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<bool> running{true};

int Sleeper(void*) {
    while (running.load())
        SDL_Delay(1);
    return 0;
}

bool EndRequested(const SDL_Event& event) {
    return event.type == SDL_QUIT ||
           (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE);
}

}  // namespace

int main(int argc, char** argv) {
    int width = argc > 2 ? std::atoi(argv[1]) : 800;
    int height = argc > 2 ? std::atoi(argv[2]) : 600;
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return 1;
    if (!SDL_SetVideoMode(width, height, 32, SDL_DOUBLEBUF)) return 1;
    SDL_WM_SetCaption("Velmora idle floor", "Velmora idle floor");
    SDL_Thread* sleeper = SDL_CreateThread(Sleeper, nullptr);
    while (running.load()) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (EndRequested(event)) running.store(false);
        }
        SDL_Delay(1);
    }
    SDL_WaitThread(sleeper, nullptr);
    SDL_Quit();
    return 0;
}
