#include "tools/common/CheckSession.h"

#include <SDL_ttf.h>

#include <utility>

#include "graphics/CharacterTable.h"

CheckSession::CheckSession(LogRedirect::Sink sink)
    : fontEngineStarted(TTF_Init() == 0), log(std::move(sink)) {
    BuildCharacterTable();
}

CheckSession::~CheckSession() {
    if (fontEngineStarted) TTF_Quit();
}
