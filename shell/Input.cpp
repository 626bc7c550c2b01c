#include "shell/Input.h"

#include <SDL.h>

#include "shell/RunFlags.h"

std::atomic<int32_t> mouseX{0};
std::atomic<int32_t> mouseY{0};
std::atomic<int32_t> leftButton{0};
std::atomic<int32_t> lastKey{0};
std::atomic<uint32_t> pollTime{0};
std::atomic<uint32_t> pollCount{0};

namespace {

void HandleEvent(const SDL_Event& event) {
    constexpr auto relaxed = std::memory_order_relaxed;
    switch (event.type) {
        case SDL_KEYDOWN:
            lastKey.store(event.key.keysym.sym, relaxed);
            // Not only as the poll's last key: a pass can take tens of
            // milliseconds (sdl12-compat presents the whole window in each),
            // and a key pressed or repeating after Escape would hide it.
            if (event.key.keysym.sym == SDLK_ESCAPE) runningFlag.store(false);
            break;
        case SDL_MOUSEMOTION:
            mouseX.store(event.motion.x, relaxed);
            mouseY.store(event.motion.y, relaxed);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT) {
                leftButton.store(event.type == SDL_MOUSEBUTTONDOWN ? 1 : 0, relaxed);
            }
            break;
        case SDL_QUIT:
            runningFlag.store(false);
            break;
        default:
            break;
    }
}

}  // namespace

void PollEvents() {
    lastKey.store(0, std::memory_order_relaxed);
    SDL_Event event;
    while (SDL_PollEvent(&event))
        HandleEvent(event);
    pollTime.store(SDL_GetTicks(), std::memory_order_relaxed);
    pollCount.fetch_add(1, std::memory_order_release);
}
