#!/usr/bin/env bash
# Plays a game by itself on a private virtual display (Xvfb), for machines
# without a screen: clicks through every wait, taking the first choice of
# every menu, saves a screenshot of every wait, and ends with the game's
# exit code.
#
#   scripts/autoplay.sh <game directory> <velmora program> <screenshot folder>
#
# AUTOPLAY_PAUSE (seconds, default 1) is how long each wait is shown before
# the click; keep it below the shortest delay of the script.
set -uo pipefail
source "$(dirname "$0")/display.sh"

game=$(realpath "$1")
program=$(realpath "$2")
shots=$(realpath -m "$3")
pause=${AUTOPLAY_PAUSE:-1}

read -r click_x click_y < <(first_choice "$game")

scratch=$(mktemp -d)
xvfb=""
pid=""
# Each process is waited for: a display number is only free again once its
# server has gone.
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid"
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb"
    rm -rf "$scratch"
}
trap cleanup EXIT

if ! start_display "$scratch"; then
    echo "autoplay: Xvfb did not start" >&2
    exit 1
fi

# Only X11: should the display fail the game, SDL would otherwise fall back
# to drawing into the terminal.
(cd "$game" && SDL_VIDEODRIVER=x11 exec "$program") &
pid=$!

running() { kill -0 "$pid" 2>/dev/null; }

# The game's window caption (kWindowCaption in core/GamePaths.h).
window=$(find_window Noname "$pid")

if [ -z "$window" ] && running; then
    echo "autoplay: the game's window did not appear" >&2
    exit 1
fi

mkdir -p "$shots"
rm -f "$shots"/wait-*.png
count=0
[ -n "$window" ] && xdotool mousemove --window "$window" "$click_x" "$click_y" 2>/dev/null
while [ -n "$window" ] && running; do
    sleep "$pause"
    running || break
    file=$(printf '%s/wait-%03d.png' "$shots" $((count + 1)))
    if xwd -silent -id "$window" 2>/dev/null | convert xwd:- "png:$file" 2>/dev/null; then
        count=$((count + 1))
    else
        rm -f "$file"
    fi
    # Held for a moment, so that the game sees the button down.
    xdotool mousedown 1 sleep 0.15 mouseup 1 2>/dev/null
done

wait "$pid"
code=$?
pid=""
echo "autoplay: the game ended with exit code $code; $count screenshots in $shots"
if [ "$code" -ne 0 ] && [ -f "$game/velmora.log" ]; then
    tail -n 5 "$game/velmora.log" >&2
fi
exit "$code"
