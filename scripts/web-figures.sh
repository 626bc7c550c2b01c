#!/usr/bin/env bash
# The web package's figures beside the Linux build's: the demo's web zip and
# its parts (sizes, the wasm gzipped as a server sends it), the first frame
# after the page is opened (served from 127.0.0.1) against the Linux
# program's first frame after it is started (on a private Xvfb), and the CPU
# while the player reads the first line. Measured, not asserted; run after
# scripts/web.sh and the web tests' pack (ctest -L web), or give a zip.
#
#   scripts/web-figures.sh [demo-web.zip] [seconds]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/display.sh
zip=$(realpath "${1:-build/tests/web/run/dist/demo-web.zip}")
seconds=${2:-5}
export WEB_NODE_DIR=${WEB_NODE_DIR:-$root/build/tests/web/node}

echo "== sizes"
ls -l "$zip" | awk '{print "zip", $5, "bytes"}'
unzip -l "$zip" | awk '$4 ~ /^(velmora|game|index)/ {print $4, $1, "bytes"}'
echo "velmora.wasm gzipped $(unzip -p "$zip" velmora.wasm | gzip -9 | wc -c) bytes"
echo "files $(unzip -Z1 "$zip" | wc -l)"

echo "== web"
coproc server { exec python3 platform/web/velmora-web-serve --port 0 "$zip"; }
read -r line <&"${server[0]}"
url=$(grep -o 'http://[^ ]*' <<<"$line")
node tests/web/figures.mjs "$url" "$seconds"
kill "$server_PID" && wait "$server_PID"

echo "== Linux"
scratch=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$scratch"' EXIT
start_display "$scratch" || exit 1
mkdir -p "$scratch/game" && unzip -p "$zip" game.tar | tar -x -C "$scratch/game"
start=$(date +%s%N)
(cd "$scratch/game" && SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy exec "$root/build/velmora") &
pid=$!
window=$(find_window Noname "$pid")
# The first frame: the window no longer one colour.
while kill -0 "$pid" 2>/dev/null; do
    colours=$(xwd -silent -id "$window" 2>/dev/null | convert xwd:- -format %k info: 2>/dev/null)
    [ "${colours:-1}" -gt 1 ] && break
done
echo "first frame $((($(date +%s%N) - start) / 1000000)) ms after the program was started"
kill "$pid"; wait "$pid" 2>/dev/null
