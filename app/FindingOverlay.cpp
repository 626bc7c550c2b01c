#include "app/FindingOverlay.h"

#include <SDL.h>

#include <algorithm>
#include <sstream>

#include "commands/Stage.h"
#include "graphics/TextLayout.h"
#include "shell/RunFlags.h"

namespace {

const int kMargin = 8;

// The finding broken at spaces into lines no wider than width, where words allow.
std::string Wrapped(const std::string& text, int width) {
    std::string wrapped, line;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && TextWidth(stage.primaryFont, longer.c_str()) > width) {
            wrapped += line + "\n";
            longer = word;
        }
        line = longer;
    }
    return wrapped + line;
}

}  // namespace

void ShowFinding(const std::string& finding) {
    const PlayerSeam& player = stage.player;
    while (!player.lockCanvas()) {
        if (!runningFlag.load()) return;
        player.pause();
    }
    SDL_Surface* canvas = player.canvas.surface;
    std::string text = Wrapped(finding, canvas->w - 2 * kMargin);
    int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    int height = std::min(canvas->h, lines * stage.primaryFont.LineHeight() + 2 * kMargin);
    SDL_Rect band{0, 0, static_cast<Uint16>(canvas->w), static_cast<Uint16>(height)};
    SDL_FillRect(canvas, &band, SDL_MapRGB(canvas->format, 0x70, 0x10, 0x10));
    DrawText(canvas, {stage.primaryFont, stage.secondaryFont}, kMargin, kMargin, text.c_str(),
             false);
    FrameChanges changes;
    changes.whole = true;
    player.present(changes);
}
