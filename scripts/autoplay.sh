#!/usr/bin/env bash
# Plays a game by itself on a private virtual display (Xvfb), for machines
# without a screen: clicks through every wait, taking the first choice of
# every menu, saves a screenshot of every wait, and ends with the game's
# exit code.
#
#   scripts/autoplay.sh <game directory> <velmora program> <screenshot folder>
#
# Each wait is shot once the window shows a new picture and has held it for
# a poll; a click that the game missed is given again after AUTOPLAY_RETRY
# seconds (default 10) without a new picture.
set -uo pipefail
source "$(dirname "$0")/display.sh"

game=$(realpath "$1")
program=$(realpath "$2")
shots=$(realpath -m "$3")
retry=${AUTOPLAY_RETRY:-10}

read -r click_x click_y < <(first_choice "$game")

if ! private_display; then
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
raw=$scratch/now.xwd
# A shot of the window as X holds it: equal pictures give equal bytes.
grab() { xwd -silent -id "$window" >"$raw" 2>/dev/null; }

# Waits until the window shows a picture other than the last one saved and
# has held it for one poll (a frame half drawn is not shot). Fails when the
# game ends or no new picture comes within the retry time.
next_picture() {
    local until=$((SECONDS + retry))
    rm -f "$scratch/held.xwd"
    while running && [ $SECONDS -lt $until ]; do
        grab || return 1
        if ! cmp -s "$raw" "$scratch/last.xwd" && cmp -s "$raw" "$scratch/held.xwd" &&
            { [ "$count" -gt 0 ] || drawn; }; then
            return 0
        fi
        cp "$raw" "$scratch/held.xwd"
        sleep 0.1  # the polling interval
    done
    return 1
}

# Before its first frame the window is black but for the cursor.
drawn() { [ "$(convert "xwd:$raw" -format '%[fx:mean>0.02]' info: 2>/dev/null)" = 1 ]; }

click() { xdotool mousedown 1 sleep 0.15 mouseup 1 2>/dev/null; }

touch "$scratch/last.xwd"
[ -n "$window" ] && xdotool mousemove --window "$window" "$click_x" "$click_y" 2>/dev/null
while [ -n "$window" ] && running; do
    if ! next_picture; then
        running && [ "$count" -gt 0 ] && click  # the game missed the last click
        continue
    fi
    file=$(printf '%s/wait-%03d.png' "$shots" $((count + 1)))
    convert "xwd:$raw" "png:$file" 2>/dev/null && count=$((count + 1))
    cp "$raw" "$scratch/last.xwd"
    click
done

wait "$pid"
code=$?
pid=""
echo "autoplay: the game ended with exit code $code; $count screenshots in $shots"
if [ "$code" -ne 0 ] && [ -f "$game/velmora.log" ]; then
    tail -n 5 "$game/velmora.log" >&2
fi
exit "$code"
