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

// Every wait ends within two passes unless no click can end it (a menu with
// no choice the mouse can point at), where the game would wait for ever:
// after this many passes of one input the player quits.
const int kFrameLimit = 200;
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

// The button goes down and up on alternate passes, whether they hand a
// frame over or only pause.
void Pause() {
    player.leftButton = !player.leftButton;
    player.clock += kPassMs;
    if (++player.frames >= kFrameLimit) player.running = false;
}

void Present(const FrameChanges&) {
    Pause();
}

PlayerSeam Seam() {
    PlayerSeam seam;
    seam.canvas = canvas;
    seam.lockCanvas = [] { return true; };
    seam.present = Present;
    seam.pause = Pause;
    seam.ticks = [] { return player.clock; };
    seam.input = Input;
    seam.running = [] { return player.running; };
    seam.stopRunning = [] { player.running = false; };
    return seam;
}

SDL_Surface* NewSurface(const GameSettings& settings) {
    return SDL_CreateRGBSurface(0, settings.GetInt("Width", 800), settings.GetInt("Height", 600),
                                32, 0xFF0000, 0xFF00, 0xFF, 0);
}

}  // namespace

// fuzz/game: the demo's pictures and voices, by name, at a fraction of their
// size, and its font. Each input becomes the script.
void PrepareGame() {
    namespace fs = std::filesystem;
    const fs::path game = VELMORA_FUZZ_GAME;
    fs::create_directories("data/scenario");
    for (const char* name : {"gfx", "mfx", "menubg.png", "game.settings"})
        fs::create_symlink(game / name, fs::path("data") / name);
    fs::create_symlink(VELMORA_DEMO_FONTS, "data/fnt");
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "velmora fuzz: TTF_Init: %s\n", SDL_GetError());
        std::abort();
    }
    BuildCharacterTable();
}

namespace {

void SetUp() {
    PrepareGame();
    RegisterCommands(scenario);
    GameSettings settings;
    settings.Load(paths::kGameSettings);
    canvas = {NewSurface(settings), NewSurface(settings)};
    stage.player = Seam();
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
