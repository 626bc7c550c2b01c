// The reference of the start-up benchmark: the least an SDL 1.2 program of
// the game's kind does before its first frame. Opens the window the game
// opens, fills it and shows it, then waits for its end like the game.
#include <SDL.h>

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return 1;
    SDL_Surface* screen = SDL_SetVideoMode(800, 600, 32, SDL_DOUBLEBUF);
    if (!screen) return 1;
    SDL_WM_SetCaption("Noname", "Noname");
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 40, 60, 80));
    SDL_UpdateRect(screen, 0, 0, 0, 0);
    for (bool running = true; running;) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            running = running && event.type != SDL_QUIT;
        SDL_Delay(1);
    }
    SDL_Quit();
    return 0;
}
