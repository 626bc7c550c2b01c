#!/usr/bin/env bash
# Makes what the Windows end-to-end tests of one run share, fresh each run:
# the distribution unzipped into <run>/dist and a Wine prefix in
# <run>/prefix, whose server is kept running until stop.sh so that a test
# that ends its processes does not take it down under the next one.
#
#   tests/wine/prepare.sh <run folder> <zip> <wine> <wineboot> <wineserver>
set -euo pipefail
run=$1 zip=$2 wine=$3 wineboot=$4 wineserver=$5

if [ ! -f "$zip" ]; then
    echo "prepare: $zip is missing: scripts/windows.sh makes it" >&2
    exit 1
fi
export WINEPREFIX=$run/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] && WINE="$wine" "$wineserver" -k 2>/dev/null || true
rm -rf "$run"
mkdir -p "$run/dist"
(cd "$run/dist" && cmake -E tar xf "$(realpath "$zip")")

start=$(date +%s%N)
"$wineboot" --init >"$run/wineboot.log" 2>&1
"$wineserver" -w
end=$(date +%s%N)
echo "Wine prefix made in $(((end - start) / 1000000)) ms"

# In a session of its own, with no descriptor of ctest's held open.
setsid "$wineserver" -p </dev/null >/dev/null 2>&1 &
