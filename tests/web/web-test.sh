#!/usr/bin/env bash
# One web test (tests/web/CMakeLists.txt gives the environment):
#   pack         the demo's web package with velmora-pack from the web runtime
#                (stand-ins for the other two runtimes), and a broken game's
#   play CHOICE  the demo to its end, the mouse on menu choice CHOICE, in
#                chromium and in the Linux build: equal frames at every wait,
#                equal audio, exit 0 in both
#   escape       Escape at the first wait ends the web game with 0
#   gesture      where the browser wants a gesture before sound, the page
#                asks for a click and the game starts only after it
#   error        a game with a run-time error ends with 1, its error line shown
#   isolation    served without the isolation headers, the page explains
#   missing      served without game.tar, the page names it and the game
#                does not start
set -uo pipefail
mode=$1
here=$(cd "$(dirname "$0")" && pwd)
run=$WEB_RUN
fail() { echo "web-test: $*" >&2; exit 1; }

pack() {
    [ -f "$WEB_RUNTIME/velmora.wasm" ] || fail "no web runtime in $WEB_RUNTIME: run scripts/web.sh"
    # velmora-pack takes its runtimes from beside itself.
    local runtimes=$run/bin/runtimes
    rm -rf "$run" && mkdir -p "$runtimes/linux-x64/lib" "$runtimes/linux-x64/licenses" \
        "$runtimes/windows-x64/licenses" || exit 1
    cp "$VELMORA_PACK" "$run/bin/velmora-pack" &&
        echo stand-in >"$runtimes/linux-x64/velmora" &&
        echo stand-in >"$runtimes/windows-x64/velmora.exe" &&
        echo stand-in >"$runtimes/windows-x64/velmora-lsp.exe" &&
        ln -s "$WEB_RUNTIME" "$runtimes/web" || exit 1
    VELMORA_PACK=$run/bin/velmora-pack
    "$VELMORA_PACK" --out "$run/dist" "$DEMO" | tee "$run/pack.txt" || fail "velmora-pack failed"
    mkdir -p "$run/broken" && cp -r "$DEMO/data" "$DEMO/velmora.settings" "$run/broken/" &&
        printf 'back "harbour"\nsay text="Before the fault."\ngoto nowhere\n' >"$run/broken/data/scenario/main.txt"
    "$VELMORA_PACK" --force --out "$run/dist" "$run/broken" >/dev/null 2>&1 ||
        fail "velmora-pack --force failed"
    # The game's files as the page gets them, for the Linux build to play.
    mkdir -p "$run/game" && unzip -p "$run/dist/demo-web.zip" game.tar | tar -x -C "$run/game"
}

# serve <zip> [options]: starts velmora-web-serve on a free port; sets url.
serve() {
    coproc server { exec python3 "$SERVE" --port 0 "$@"; }
    read -r -t 30 line <&"${server[0]}" || fail "velmora-web-serve did not start"
    url=$(grep -o 'http://[^ ]*' <<<"$line")
    echo "$line"
}
stop_server() { [ -n "${server_PID:-}" ] && kill "$server_PID" && wait "$server_PID"; }
trap stop_server EXIT

play_web() {  # play_web <zip> <out> <x> <y> <mode> [serve options]
    serve "$1" "${@:6}"
    node "$here/play.mjs" "$url" "$2" "$3" "$4" "$5" || fail "the page did not play"
}

export WEB_NODE_DIR
case $mode in
pack) pack ;;
play)
    read -r x y < <("$CHOICE_POINT" "$run/game" "$2") || fail "no choice point"
    out=$run/choice$2
    rm -rf "$out" && mkdir -p "$out"
    play_web "$run/dist/demo-web.zip" "$out/web" "$x" "$y" play
    stop_server
    cp -r "$run/game" "$out/linux-game"
    "$here/linux-play.sh" "$out/linux-game" "$VELMORA" "$out/linux" "$x" "$y" ||
        fail "the Linux build did not play"
    node "$here/compare.mjs" "$out/web" "$out/linux"
    ;;
escape)
    play_web "$run/dist/demo-web.zip" "$run/escape" 0 0 escape
    grep -q '"exitCode": 0' "$run/escape/result.json" || fail "Escape did not end with 0"
    ;;
gesture)
    play_web "$run/dist/demo-web.zip" "$run/gesture" 0 0 gesture
    grep -q '"askedForClick": "Click to start"' "$run/gesture/result.json" ||
        fail "the page did not ask for a click"
    grep -q '"startedBeforeClick": false' "$run/gesture/result.json" ||
        fail "the game started before the click"
    grep -q '"exitCode": 0' "$run/gesture/result.json" || fail "the game did not play after the click"
    ;;
error)
    play_web "$run/dist/broken-web.zip" "$run/error" 0 0 play
    grep -q '"exitCode": 1' "$run/error/result.json" || fail "the error did not end with 1"
    grep -q 'Error.*nowhere' "$run/error/result.json" || fail "no error line on the page"
    ;;
isolation)
    play_web "$run/dist/demo-web.zip" "$run/isolation" 0 0 isolation --no-isolation
    grep -q 'Cross-Origin-Embedder-Policy: require-corp' "$run/isolation/result.json" ||
        fail "the page did not explain the missing headers"
    ;;
missing)
    rm -rf "$run/missing-files" && mkdir -p "$run/missing-files" &&
        unzip -q "$run/dist/demo-web.zip" -d "$run/missing-files" &&
        rm "$run/missing-files/game.tar" || exit 1
    play_web "$run/missing-files" "$run/missing" 0 0 missing
    grep -q 'could not be loaded.*game.tar: 404' "$run/missing/result.json" ||
        fail "the page did not name the missing file"
    grep -q '"started": false' "$run/missing/result.json" || fail "the game started without its files"
    ;;
*) fail "unknown mode $mode" ;;
esac
