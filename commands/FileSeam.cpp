#include "commands/FileSeam.h"

#include "audio/SDLWavePlayer.h"
#include "graphics/PictureCache.h"

namespace {

MusicChannel& VoiceChannel() {
    return SDLWavePlayer::channels[SDLWavePlayer::kVoiceChannel];
}

void ShowPicture(Picture& place, const std::string& path) {
    place = pictureCache.Get(path);
}

void PlayVoice(const std::string& path) {
    VoiceChannel().Open(path, false);
}

void StopVoice() {
    VoiceChannel().Stop();
}

}  // namespace

FileSeam GameFileSeam() {
    return {ShowPicture, PlayVoice, StopVoice};
}
