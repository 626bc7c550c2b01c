#!/usr/bin/env bash
# The demo's Windows zip, unpacked alone into a folder of its own, starts
# under Wine in a fresh prefix with nothing but what the zip holds: its window
# opens, Escape ends it with exit code 0, its log holds no error and it writes
# no file but the log.
#
#   start-windows-zip.sh <source folder> <build folder>
set -uo pipefail
source_dir=$(realpath "$1")
build=$(realpath "$2")
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -e "$build/runtimes/windows-x64/velmora.exe" ] ||
    fail "no Windows runtime: run scripts/windows.sh and scripts/runtimes.sh"
scratch=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid"
    "$source_dir/scripts/wine.sh" cleanup "$scratch/wine" >/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

"$build/velmora-pack" --out "$scratch/dist" "$source_dir/demo" >/dev/null || fail "velmora-pack failed"
mkdir "$scratch/game" &&
    (cd "$scratch/game" && cmake -E tar xf "$scratch/dist/demo-windows-x64.zip") ||
    fail "the zip does not unpack"
before=$(cd "$scratch/game" && find . | sort)
"$source_dir/scripts/wine.sh" setup "$scratch/wine" >/dev/null || fail "no Wine prefix"

(cd "$scratch/game" && exec "$source_dir/scripts/wine.sh" run "$scratch/wine" ./demo.exe) &
pid=$!
display=$(cat "$scratch/wine/display")
window=""
for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || break
    window=$(DISPLAY=$display xdotool search --name '^Noname$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "the game's window did not open: $(cat "$scratch/game/velmora.log" 2>/dev/null)"
sleep 2
DISPLAY=$display xdotool key --window "$window" Escape 2>/dev/null
for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "Escape did not end the game"
wait "$pid"
code=$?
pid=""
[ "$code" -eq 0 ] || fail "the game ended with exit code $code: $(cat "$scratch/game/velmora.log")"
! grep -q '\[Error\]' "$scratch/game/velmora.log" 2>/dev/null || fail "$(cat "$scratch/game/velmora.log")"
after=$(cd "$scratch/game" && find . | grep -v '^\./velmora\.log$' | sort)
[ "$before" = "$after" ] || fail "files written: $(diff <(echo "$before") <(echo "$after"))"
echo "the zip's game started under Wine and ended with 0"
