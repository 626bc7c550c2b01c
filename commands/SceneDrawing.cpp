#include "commands/SceneDrawing.h"

#include <algorithm>
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
        // One allocation: a script can make the name megabytes long.
        std::string label;
        label.reserve(scene.speakerName.size() + 2);
        label.append(scene.speakerName).append(": ");
        DrawTextOn(stage, canvas, penX, top, label, true);
        // Past the canvas's right edge the text shows nothing, however far.
        penX += TextWidth(stage.primaryFont, label.c_str(), canvas->w - penX);
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
    // Only the part inside the canvas can be shown or pointed at.
    int room = std::max(canvas->w - stage.textOffsetX, 0);
    int width =
        std::min(TextWidth(stage.primaryFont, stage.scene.choices[index].text.c_str(), room), room);
    return {stage.textOffsetX, y, width, lineHeight};
}

// Choices lie one line apart and are one line high, so at most one is under the mouse.
int ChoiceUnder(const Stage& stage, const SDL_Surface* canvas, int mouseX, int mouseY) {
    for (size_t i = 0; i < stage.scene.choices.size(); ++i) {
        if (ChoiceAt(stage, canvas, i).Contains(mouseX, mouseY)) return static_cast<int>(i);
    }
    return -1;
}

int DrawMenu(const Stage& stage, const Canvas& canvas, int mouseX, int mouseY,
             std::vector<SDL_Rect>& changed) {
    RestoreTextBoxArea(stage, canvas);
    stage.menuBackground.Draw(canvas.surface, 0, TextBoxTop(stage, canvas.surface), 255);
    const std::vector<ChoiceItem>& choices = stage.scene.choices;
    std::vector<ChoiceBox> boxes;
    int hovered = -1;
    for (size_t i = 0; i < choices.size(); ++i) {
        boxes.push_back(ChoiceAt(stage, canvas.surface, i));
        if (boxes.back().Contains(mouseX, mouseY)) hovered = static_cast<int>(i);
    }
    // The hovered choice is known before any is drawn: all are drawn once.
    for (size_t i = 0; i < choices.size(); ++i) {
        changed.push_back(boxes[i].Rect());
        DrawTextOn(stage, canvas.surface, boxes[i].x, boxes[i].y, choices[i].text,
                   static_cast<int>(i) == hovered);
    }
    return hovered;
}
