#include "commands/Wait.h"

#include <cstdint>
#include <string>

#include "commands/SceneState.h"
#include "graphics/TextLayout.h"
#include "shell/Input.h"
#include "shell/Presentation.h"
#include "shell/ProgramState.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
const Uint32 kClickBlockMs = 100;

int TextBoxTop() {
    return canvas->h - menuBackground.Height();
}
int TextTop() {
    return TextBoxTop() + textOffsetY;
}

void DrawTextOnCanvas(int x, int y, const std::string& text, bool highlight) {
    DrawText(canvas, {primaryFont, secondaryFont}, x, y, text.c_str(), highlight);
}

void DrawCharacters() {
    int width = canvas->w;
    scene.background.Draw(canvas, 0, 0, 255);
    scene.leftCharacter.Draw(canvas, 0, 0, 255);
    scene.centerCharacter.Draw(canvas, (width - scene.centerCharacter.Width()) / 2, 0, 255);
    scene.rightCharacter.Draw(canvas, width - scene.rightCharacter.Width(), 0, 255);
}

// Whether the player's click ends the wait now; a taken click is latched
// until the button is seen up, and blocks further clicks for a while.
bool TakeClick(int hovered) {
    bool down = leftButton.load(relaxed) != 0;
    if (!down) scene.clickLatch = false;
    Uint32 now = pollTime.load(relaxed);
    if (!down || scene.clickLatch || now <= scene.clickBlockTime) return false;
    if (scene.menuMode && hovered < 0) return false;
    scene.clickLatch = true;
    scene.clickBlockTime = now + kClickBlockMs;
    return true;
}

bool TimerExpired(bool timed, Uint32 start) {
    return timed && int64_t{start} + scene.delayTime < int64_t{pollTime.load(relaxed)};
}

void JumpToChoice(int hovered) {
    ChoiceItem choice = scene.choices[hovered];
    scenario.JumpToLabel(choice.label, choice.line);
    scene.menuMode = false;
    scene.choices.clear();
}

}  // namespace

SDL_Rect TextBoxRect() {
    return {0, static_cast<Sint16>(TextBoxTop()), static_cast<Uint16>(canvas->w),
            static_cast<Uint16>(menuBackground.Height())};
}

void SaveTextBoxArea() {
    SDL_Rect source = TextBoxRect(), target = TextBoxRect();
    SDL_UpperBlit(canvas, &source, backingSurface, &target);
}

void RestoreTextBoxArea() {
    SDL_Rect source = TextBoxRect(), target = TextBoxRect();
    SDL_UpperBlit(backingSurface, &source, canvas, &target);
}

void DrawScene() {
    ClearCanvas(0);
    DrawCharacters();
    SaveTextBoxArea();
    menuBackground.Draw(canvas, 0, TextBoxTop(), 255);
    int penX = textOffsetX;
    if (!scene.speakerName.empty()) {
        std::string label = scene.speakerName + ": ";
        DrawTextOnCanvas(penX, TextTop(), label, true);
        penX += TextWidth(primaryFont, label.c_str());
    }
    if (!scene.lineText.empty()) DrawTextOnCanvas(penX, TextTop(), scene.lineText, false);
    RequestFullRedraw();
}

int DrawMenu() {
    RestoreTextBoxArea();
    menuBackground.Draw(canvas, 0, TextBoxTop(), 255);
    int hovered = -1;
    int lineHeight = primaryFont.LineHeight();
    int mx = mouseX.load(relaxed), my = mouseY.load(relaxed);
    for (size_t i = 0; i < scene.choices.size(); ++i) {
        const std::string& text = scene.choices[i].text;
        int x = textOffsetX, y = TextTop() + static_cast<int>(i) * lineHeight;
        int w = TextWidth(primaryFont, text.c_str());
        AddDirtyRect({static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                      static_cast<Uint16>(lineHeight)});
        bool underMouse = x <= mx && mx < x + w && y <= my && my < y + lineHeight;
        if (underMouse) hovered = static_cast<int>(i);
        DrawTextOnCanvas(x, y, text, underMouse);
    }
    return hovered;
}

void WaitForPlayer() {
    bool first = true;
    bool timed = scene.delayTime > 0;
    int hovered = -1;
    Uint32 start = SDL_GetTicks();
    if (scene.menuMode) {
        timed = false;
        scene.lineText.clear();
    }
    for (;;) {
        if (LockCanvas()) {  // else: no frame this time, try again
            if (first) DrawScene();
            first = false;
            if (scene.menuMode && !scene.choices.empty()) hovered = DrawMenu();
            PresentCanvas();
            if (TakeClick(hovered) || TimerExpired(timed, start)) break;
        }
        if (!runningFlag.load()) break;
    }
    if (!runningFlag.load()) return;
    scene.delayTime = 0;
    if (hovered >= 0) JumpToChoice(hovered);
}
