#!/usr/bin/env bash
# Installs what is missing, builds Velmora in Release and plays the demo game.
# With a display the player plays. Without one (no DISPLAY), the demo plays
# itself on a virtual display and leaves a screenshot of every wait in
# demo/screenshots/. Without a sound device it plays silently.
set -uo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages $BUILD_PACKAGES || exit 1
if [ -z "${DISPLAY:-}" ]; then
    ensure_packages $AUTOPLAY_PACKAGES || exit 1
fi

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF \
    -DVELMORA_BENCHMARKS=OFF >/dev/null &&
    cmake --build build-release -j "$(nproc)" || exit 1

# A sound card, or a PulseAudio server to play through.
has_sound_device() {
    compgen -G "/dev/snd/pcm*" >/dev/null && return 0
    [ -n "${PULSE_SERVER:-}" ] && return 0
    [ -S "${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/pulse/native" ]
}

# SDL's dummy driver takes the sound and plays nothing; the player's own
# EnableSound setting in demo/velmora.settings is left as it is.
if [ -z "${SDL_AUDIODRIVER:-}" ] && ! has_sound_device; then
    export SDL_AUDIODRIVER=dummy
    echo "No sound device found: the demo plays silently (SDL_AUDIODRIVER=dummy)."
fi

if [ -n "${DISPLAY:-}" ]; then
    cd demo && exec ../build-release/velmora
fi
echo "No display (DISPLAY is not set): the demo plays itself on a virtual display,"
echo "clicking through every wait and taking the first choice of every menu."
exec scripts/autoplay.sh demo build-release/velmora demo/screenshots
