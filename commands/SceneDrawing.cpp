#include "commands/SceneDrawing.h"

#include <string>

#include "graphics/SurfaceFill.h"
#include "graphics/TextLayout.h"

namespace {

int TextBoxTop(const Stage& stage, const SDL_Surface* canvas) {
    return canvas->h - stage.menuBackground.Height();
}

int TextTop(const Stage& stage, const SDL_Surface* canvas) {
    return TextBoxTop(stage, canvas) + stage.textOffsetY;
}

void DrawTextOn(const Stage& stage, SDL_Surface* canvas, int x, int y, const std::string& text,
                bool highlight) {
    DrawText(canvas, {stage.primaryFont, stage.secondaryFont}, x, y, text.c_str(), highlight);
}

void DrawCharacters(const SceneState& scene, SDL_Surface* canvas) {
    int width = canvas->w;
    scene.background.Draw(canvas, 0, 0, 255);
    scene.leftCharacter.Draw(canvas, 0, 0, 255);
    scene.centerCharacter.Draw(canvas, (width - scene.centerCharacter.Width()) / 2, 0, 255);
    scene.rightCharacter.Draw(canvas, width - scene.rightCharacter.Width(), 0, 255);
}

// The speaker label, then the line text after it; the text's later lines
// start under its first character.
void DrawSpokenLine(const Stage& stage, SDL_Surface* canvas) {
    const SceneState& scene = stage.scene;
    int penX = stage.textOffsetX;
    int top = TextTop(stage, canvas);
    if (!scene.speakerName.empty()) {
        std::string label = scene.speakerName + ": ";
        DrawTextOn(stage, canvas, penX, top, label, true);
        penX += TextWidth(stage.primaryFont, label.c_str());
    }
    if (!scene.lineText.empty()) DrawTextOn(stage, canvas, penX, top, scene.lineText, false);
}

void CopyTextBox(const Stage& stage, SDL_Surface* from, SDL_Surface* to) {
    SDL_Rect source = TextBoxRect(stage, from), target = TextBoxRect(stage, from);
    SDL_UpperBlit(from, &source, to, &target);
}

}  // namespace

SDL_Rect TextBoxRect(const Stage& stage, const SDL_Surface* canvas) {
    return {0, static_cast<Sint16>(TextBoxTop(stage, canvas)), static_cast<Uint16>(canvas->w),
            static_cast<Uint16>(stage.menuBackground.Height())};
}

void SaveTextBoxArea(const Stage& stage, const Canvas& canvas) {
    CopyTextBox(stage, canvas.surface, canvas.backing);
}

void RestoreTextBoxArea(const Stage& stage, const Canvas& canvas) {
    CopyTextBox(stage, canvas.backing, canvas.surface);
}

void DrawScene(const Stage& stage, const Canvas& canvas) {
    FillSurface(canvas.surface, 0);
    DrawCharacters(stage.scene, canvas.surface);
    SaveTextBoxArea(stage, canvas);
    stage.menuBackground.Draw(canvas.surface, 0, TextBoxTop(stage, canvas.surface), 255);
    DrawSpokenLine(stage, canvas.surface);
}

ChoiceBox ChoiceAt(const Stage& stage, const SDL_Surface* canvas, size_t index) {
    int lineHeight = stage.primaryFont.LineHeight();
    int y = TextTop(stage, canvas) + static_cast<int>(index) * lineHeight;
    int width = TextWidth(stage.primaryFont, stage.scene.choices[index].text.c_str());
    return {stage.textOffsetX, y, width, lineHeight};
}

int ChoiceUnder(const Stage& stage, const SDL_Surface* canvas, int x, int y) {
    for (size_t i = 0; i < stage.scene.choices.size(); ++i) {
        if (ChoiceAt(stage, canvas, i).Contains(x, y)) return static_cast<int>(i);
    }
    return -1;
}

int DrawMenu(const Stage& stage, const Canvas& canvas, int mouseX, int mouseY,
             std::vector<SDL_Rect>& changed) {
    RestoreTextBoxArea(stage, canvas);
    stage.menuBackground.Draw(canvas.surface, 0, TextBoxTop(stage, canvas.surface), 255);
    int hovered = -1;
    const std::vector<ChoiceItem>& choices = stage.scene.choices;
    for (size_t i = 0; i < choices.size(); ++i) {
        ChoiceBox box = ChoiceAt(stage, canvas.surface, i);
        changed.push_back(box.Rect());
        bool underMouse = box.Contains(mouseX, mouseY);
        if (underMouse) hovered = static_cast<int>(i);
        DrawTextOn(stage, canvas.surface, box.x, box.y, choices[i].text, underMouse);
    }
    return hovered;
}
