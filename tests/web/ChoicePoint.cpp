// web_choice_point GAME_DIR CHOICE: prints "X Y", the game pixel just inside
// the first letter of menu choice CHOICE (0 is the first), half a line down,
// where the web tests hold the mouse: a click there also ends any other wait.
#include <SDL_ttf.h>

#include <cstdio>
#include <string>

#include "core/GameSettings.h"
#include "graphics/Font.h"
#include "graphics/Picture.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: web_choice_point GAME_DIR CHOICE\n");
        return 2;
    }
    std::string game = argv[1];
    int choice = std::stoi(argv[2]);
    GameSettings settings;
    settings.Load((game + "/data/game.settings").c_str());
    Picture box;
    box.LoadImage((game + "/data/menubg.png").c_str());
    TTF_Init();
    Font font;
    font.LoadFile(game + "/data/fnt/font.ttf", settings.GetInt("FontSize", 16), 0);
    int lineHeight = font.LineHeight();
    font.Close();
    TTF_Quit();
    int x = settings.GetInt("TextOffsetX", 0) + 4;
    int y = settings.GetInt("Height", 600) - box.Height() + settings.GetInt("TextOffsetY", 0) +
            choice * lineHeight + lineHeight / 2;
    std::printf("%d %d\n", x, y);
    return 0;
}
