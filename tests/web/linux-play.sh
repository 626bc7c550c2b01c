#!/usr/bin/env bash
# The Linux build's side of the web tests: plays a game on a private virtual
# display as tests/web/play.mjs plays its web package, with the mouse held on
# one point: at every wait, once the window has shown the same frame twice in
# a row SETTLE ms apart, the frame is saved (wait-NNN.png) and the button
# pressed there; the next wait is looked for once the frame has changed.
# What the mixer made goes to audio.raw (SDL's disk driver);
# result.txt says the exit code and how much audio there was at the first
# click.
#
#   tests/web/linux-play.sh <game folder> <velmora program> <out folder> <x> <y>
set -uo pipefail
source "$(dirname "$0")/../../scripts/display.sh"
game=$(realpath "$1")
program=$(realpath "$2")
out=$(realpath -m "$3")
x=$4
y=$5
settle_ms=${SETTLE:-300}

private_display || { echo "linux-play: Xvfb did not start" >&2; exit 1; }
mkdir -p "$out" && rm -f "$out"/wait-*.png "$out/audio.raw"
(cd "$game" && SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/audio.raw" \
    SDL_DISKAUDIODELAY=20 exec "$program") &
pid=$!
window=$(find_window Noname "$pid") || { echo "linux-play: no window" >&2; exit 1; }
xdotool mousemove --window "$window" "$x" "$y"

running() { kill -0 "$pid" 2>/dev/null; }
shot() { xwd -silent -id "$window" 2>/dev/null | md5sum; }

count=0
first_click=""
while running; do
    previous=$(shot)
    sleep "$(printf '0.%03d' "$settle_ms")"
    current=$(shot)
    running || break
    [ "$current" = "$previous" ] || continue
    # A black screen but for the cursor before the first wait: still loading.
    if [ -z "${saved:-}" ] && [ "$(xwd -silent -id "$window" 2>/dev/null |
        convert xwd:- -format '%[fx:mean<0.01]' info: 2>/dev/null)" = 1 ]; then
        continue
    fi
    saved=$current
    file=$(printf '%s/wait-%03d.png' "$out" $((count + 1)))
    xwd -silent -id "$window" 2>/dev/null | convert xwd:- "png:$file" 2>/dev/null || break
    count=$((count + 1))
    [ -z "$first_click" ] && first_click=$(stat -c %s "$out/audio.raw" 2>/dev/null || echo 0)
    xdotool mousedown 1 sleep 0.15 mouseup 1 2>/dev/null
    # Until the click shows: a busy machine may take longer than a settling
    # to draw it, and a timed pause keeps the frame until it ends by itself.
    while running && [ "$(shot)" = "$saved" ]; do sleep 0.02; done
done
wait "$pid"
code=$?
pid=""
echo "exit=$code waits=$count first_click_bytes=${first_click:-0}" >"$out/result.txt"
cat "$out/result.txt"
