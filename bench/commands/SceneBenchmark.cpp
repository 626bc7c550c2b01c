#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "commands/SceneDrawing.h"
#include "commands/Stage.h"
#include "graphics/CharacterTable.h"

// The demo's harbour at dusk with its three characters and a spoken line of
// two lines in the text box, drawn whole as a wait's first frame does, and
// its menu redrawn as a change of the choice under the mouse does.

namespace {

const std::string kDemo = VELMORA_DEMO_DIR;

std::string DemoFile(const std::string& path) {
    return kDemo + "/data/" + path;
}

SDL_Surface* NewCanvas() {
    return SDL_CreateRGBSurface(0, 800, 600, 32, 0xFF0000, 0xFF00, 0xFF, 0);
}

// The demo's own pictures, fonts and text offsets (data/game.settings).
struct DemoStage {
    DemoStage() {
        TTF_Init();
        BuildCharacterTable();
        demo.primaryFont.LoadFile(DemoFile("fnt/font.ttf"), 20, 0);
        demo.primaryFont.SetColor(0xF4EEDC);
        demo.secondaryFont.LoadFile(DemoFile("fnt/font.ttf"), 20, TTF_STYLE_BOLD);
        demo.secondaryFont.SetColor(0xFFC857);
        demo.menuBackground.LoadImage(DemoFile("menubg.png").c_str());
        demo.textOffsetX = 24;
        demo.textOffsetY = 16;
        SceneState& scene = demo.scene;
        scene.background.LoadImage(DemoFile("gfx/harbour.png").c_str());
        scene.leftCharacter.LoadImage(DemoFile("gfx/mira.png").c_str());
        scene.centerCharacter.LoadImage(DemoFile("gfx/ilya.png").c_str());
        scene.rightCharacter.LoadImage(DemoFile("gfx/tomas.png").c_str());
        scene.speakerName = "Mira";
        scene.lineText =
            "You came on the last ferry? Good.\nThe lamp needs two pairs of hands tonight.";
        canvas = {NewCanvas(), NewCanvas()};
    }
    ~DemoStage() {
        demo.primaryFont.Close();
        demo.secondaryFont.Close();
        SDL_FreeSurface(canvas.surface);
        SDL_FreeSurface(canvas.backing);
    }

    Stage demo;  // not the game's own stage
    Canvas canvas;
};

void WholeScene(benchmark::State& state) {
    DemoStage harbour;
    for (auto _ : state) {
        DrawScene(harbour.demo, harbour.canvas);
        benchmark::ClobberMemory();
    }
}

void MenuOfTwo(benchmark::State& state) {
    DemoStage harbour;
    harbour.demo.scene.choices = {{"Go up to the lamp room", "a", 1}, {"Stay on the pier", "b", 2}};
    DrawScene(harbour.demo, harbour.canvas);
    ChoiceBox second = ChoiceAt(harbour.demo, harbour.canvas.surface, 1);
    std::vector<SDL_Rect> changed;
    for (auto _ : state) {
        changed.clear();
        DrawMenu(harbour.demo, harbour.canvas, second.x + 2, second.y + 2, changed);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(WholeScene)
    ->Name("DrawScene/harbour_three_characters_two_lines")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(MenuOfTwo)->Name("DrawMenu/two_choices_one_hovered")->Unit(benchmark::kMicrosecond);
