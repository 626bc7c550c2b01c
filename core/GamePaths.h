#pragma once

#include <string>

// Where a game's files lie, relative to its working directory, and the
// window's caption. Every program and tool that reads a game takes its paths
// from here.
namespace paths {

inline constexpr char kGameSettings[] = "data/game.settings";
inline constexpr char kUserSettings[] = "velmora.settings";
inline constexpr char kScript[] = "data/scenario/main.txt";
inline constexpr char kFont[] = "data/fnt/font.ttf";
inline constexpr char kTextBox[] = "data/menubg.png";
inline constexpr char kArrowCursor[] = "data/arrow.png";
inline constexpr char kBusyCursor[] = "data/busy.png";
inline constexpr char kMusic[] = "data/mfx/ingame.ogg";

// The folders and endings of the pictures and voice clips a script names.
inline constexpr char kPictureFolder[] = "data/gfx/";
inline constexpr char kPictureEnding[] = ".png";
inline constexpr char kVoiceFolder[] = "data/mfx/voc/";
inline constexpr char kVoiceEnding[] = ".ogg";

// The file of a picture that a script names: "data/gfx/" + name + ".png".
inline std::string Picture(const std::string& name) {
    return kPictureFolder + name + kPictureEnding;
}

// The file of a voice clip that a script names: "data/mfx/voc/" + name + ".ogg".
inline std::string Voice(const std::string& name) {
    return kVoiceFolder + name + kVoiceEnding;
}

}  // namespace paths

// The window's title and icon title. Test harnesses find the window by it.
inline constexpr char kWindowCaption[] = "Noname";
