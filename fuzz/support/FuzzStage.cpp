#include "fuzz/support/FuzzStage.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "commands/Commands.h"
#include "commands/SceneDrawing.h"
#include "commands/Stage.h"
#include "core/GamePaths.h"
#include "core/GameSettings.h"
#include "fuzz/support/FuzzInput.h"
#include "graphics/CharacterTable.h"
#include "graphics/PictureCache.h"

namespace fuzzing {

namespace {

// A small canvas: scenes are drawn and clipped as in the game, at a fraction
// of the cost of a frame of the demo's size.
const int kCanvasWidth = 320;
const int kCanvasHeight = 240;
// Every wait ends within two passes unless no click can end it (a menu with
// no choice the mouse can point at), where the game would wait for ever:
// after this many frames of one input the player quits.
const int kFrameLimit = 400;
const uint32_t kPassMs = 150;  // longer than a click's block time

struct Player {
    uint32_t clock = 1000;
    bool leftButton = false;
    bool running = true;
    int frames = 0;
};

Player player;
Scenario scenario;
Canvas canvas;

// The choice the mouse rests on: another one for every click.
void PointAtChoice(PlayerInput& input) {
    const SceneState& scene = stage.scene;
    if (!scene.menuMode || scene.choices.empty()) return;
    size_t index = static_cast<size_t>(player.frames / 2) % scene.choices.size();
    ChoiceBox box = ChoiceAt(stage, canvas.surface, index);
    input.mouseX = box.x;
    input.mouseY = box.y;
}

PlayerInput Input() {
    PlayerInput input;
    input.leftButton = player.leftButton;
    input.pollTime = player.clock;
    PointAtChoice(input);
    return input;
}

// The button goes down and up on alternate passes.
void Present(const FrameChanges&) {
    player.leftButton = !player.leftButton;
    player.clock += kPassMs;
    if (++player.frames >= kFrameLimit) player.running = false;
}

PlayerSeam Seam() {
    PlayerSeam seam;
    seam.canvas = canvas;
    seam.lockCanvas = [] { return true; };
    seam.present = Present;
    seam.ticks = [] { return player.clock; };
    seam.input = Input;
    seam.running = [] { return player.running; };
    seam.stopRunning = [] { player.running = false; };
    return seam;
}

SDL_Surface* NewSurface() {
    return SDL_CreateRGBSurface(0, kCanvasWidth, kCanvasHeight, 32, 0xFF0000, 0xFF00, 0xFF, 0);
}

// The demo's files, all but its script; each input becomes the script.
void LinkGameFolder() {
    namespace fs = std::filesystem;
    const fs::path demo = VELMORA_DEMO_DATA;
    fs::create_directories("data/scenario");
    for (const char* name : {"fnt", "gfx", "mfx", "menubg.png", "game.settings"})
        fs::create_symlink(demo / name, fs::path("data") / name);
}

void SetUp() {
    LinkGameFolder();
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "velmora fuzz: TTF_Init: %s\n", SDL_GetError());
        std::abort();
    }
    BuildCharacterTable();
    RegisterCommands(scenario);
    canvas = {NewSurface(), NewSurface()};
    stage.player = Seam();
    GameSettings settings;
    settings.Load(paths::kGameSettings);
    stage.Load(settings);
}

}  // namespace

Scenario& FuzzStage() {
    static bool ready = false;
    if (!ready) SetUp();
    ready = true;
    return scenario;
}

void ResetStage() {
    stage.scene = SceneState();
    pictureCache = PictureCache();
    player = Player();
}

bool StageRunning() {
    return player.running;
}

}  // namespace fuzzing
