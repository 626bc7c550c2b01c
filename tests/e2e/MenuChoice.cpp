#include "tests/e2e/MenuChoice.h"

#include <SDL_ttf.h>

#include "core/GameSettings.h"
#include "graphics/Font.h"
#include "graphics/Picture.h"

namespace e2e {

namespace {

int LineHeight(const std::string& game, int fontSize) {
    TTF_Init();
    Font font;
    font.LoadFile(game + "/data/fnt/font.ttf", fontSize, 0);
    int height = font.LineHeight();
    font.Close();
    TTF_Quit();
    return height;
}

}  // namespace

ScreenPoint MenuChoicePoint(const std::string& game, size_t choice) {
    GameSettings settings;
    settings.Load((game + "/data/game.settings").c_str());
    Picture box;
    box.LoadImage((game + "/data/menubg.png").c_str());
    int lineHeight = LineHeight(game, settings.GetInt("FontSize", 16));
    int top = settings.GetInt("Height", 600) - box.Height() + settings.GetInt("TextOffsetY", 0);
    return {settings.GetInt("TextOffsetX", 0) + 4,
            top + static_cast<int>(choice) * lineHeight + lineHeight / 2};
}

}  // namespace e2e
