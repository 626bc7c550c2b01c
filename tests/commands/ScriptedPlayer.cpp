#include "tests/commands/ScriptedPlayer.h"

#include <SDL_ttf.h>

#include "commands/Commands.h"
#include "core/Exception.h"
#include "graphics/CharacterTable.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TestFont.h"

ScriptedPlayerTest* ScriptedPlayerTest::current = nullptr;

namespace {

// A wait that no input of the test ends would loop for ever.
const int kPassLimit = 10000;

SDL_Surface* NewSurface(int width, int height) {
    return SDL_CreateRGBSurface(0, width, height, 32, 0xFF0000, 0xFF00, 0xFF, 0);
}

}  // namespace

void ScriptedPlayerTest::SetUp() {
    InTempDir::SetUp();
    current = this;
    if (!TTF_WasInit()) TTF_Init();
    BuildCharacterTable();
    stage.scene = SceneState();
    stage.primaryFont.LoadFile(testing_support::kTestFont, kFontSize, 0);
    stage.secondaryFont.LoadFile(testing_support::kTestFont, kFontSize, TTF_STYLE_BOLD);
    stage.primaryFont.SetColor(kPrimaryColour);
    stage.secondaryFont.SetColor(kSecondaryColour);
    testing_support::WritePng("box.png", kWidth, kTextBoxHeight,
                              std::vector<uint32_t>(kWidth * kTextBoxHeight, 0xFF000040));
    stage.menuBackground.LoadImage("box.png");
    stage.textOffsetX = 10;
    stage.textOffsetY = 5;
    canvas = {NewSurface(kWidth, kHeight), NewSurface(kWidth, kHeight)};
    stage.player = {canvas, LockCanvas, Present, Pause, Ticks, Input, Running, StopRunning};
    RegisterCommands(script);
}

void ScriptedPlayerTest::TearDown() {
    stage.player = PlayerSeam();
    stage.primaryFont.Close();
    stage.secondaryFont.Close();
    SDL_FreeSurface(canvas.surface);
    SDL_FreeSurface(canvas.backing);
    current = nullptr;
    InTempDir::TearDown();
}

void ScriptedPlayerTest::Present(const FrameChanges& changes) {
    uint32_t topLeft = static_cast<uint32_t*>(current->canvas.surface->pixels)[0];
    current->frames.push_back({current->passes, changes.whole, changes.rects, topLeft});
    current->EndPass();
}

void ScriptedPlayerTest::EndPass() {
    if (afterPass) afterPass(passes);
    if (++passes >= kPassLimit) {
        ADD_FAILURE() << "the wait did not end";
        running = false;
    }
}

std::string ScriptedPlayerTest::Run(const std::string& text) {
    testing_support::WriteFile("data/scenario/main.txt", text);
    try {
        script.Load("data/scenario/main.txt");
        script.Init();
        while (script.GetStatus() != StatusEnd && running)
            script.Step();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}
