#include "commands/Stage.h"

#include <SDL_ttf.h>

#include <algorithm>

#include "core/GamePaths.h"

Stage stage;

namespace {

// Text placed this far outside any window shows nothing, and offsets within
// it leave the pixel arithmetic of layout room to stay in range.
const int kTextOffsetLimit = 1 << 28;

int TextOffset(const GameSettings& settings, const char* key) {
    return std::clamp(settings.GetInt(key, 0), -kTextOffsetLimit, kTextOffsetLimit);
}

int FontStyle(const GameSettings& settings, const char* boldKey, const char* italicKey) {
    return (settings.GetInt(boldKey, 0) ? TTF_STYLE_BOLD : 0) |
           (settings.GetInt(italicKey, 0) ? TTF_STYLE_ITALIC : 0);
}

void LoadFont(Font& font, const GameSettings& settings, const char* prefix) {
    std::string key = prefix;
    int pointSize = settings.GetInt("FontSize", 16);
    font.LoadFile(paths::kFont, pointSize,
                  FontStyle(settings, (key + "Bold").c_str(), (key + "Italic").c_str()));
    font.SetColor(settings.GetInt(key + "Color", 0));
}

}  // namespace

void Stage::Load(const GameSettings& settings) {
    textOffsetX = TextOffset(settings, "TextOffsetX");
    textOffsetY = TextOffset(settings, "TextOffsetY");
    LoadFont(primaryFont, settings, "Primary");
    LoadFont(secondaryFont, settings, "Secondary");
    menuBackground.LoadImage(paths::kTextBox);
}
