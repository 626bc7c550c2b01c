#include "core/Exception.h"
#include "core/GameSettings.h"
#include "core/Log.h"

namespace {

GameSettings gameSettings;
GameSettings userSettings;

}  // namespace

int main(int, char**) {
    try {
        gameSettings.Load("data/game.settings");
        userSettings.Load("velmora.settings");
    } catch (const Exception& e) {
        FatalError("%s", e.Message());
    }
    return 0;
}
