#!/usr/bin/env bash
# The one harness for Windows programs under Wine, headless: a private Wine
# prefix made once per test run and shared by every program of the run, for
# the Windows unit tests (label wine-unit) and the end-to-end tests (label
# wine-e2e) alike; their ctest fixtures run setup and cleanup.
#
#   scripts/wine.sh setup DIR [--display] [--unzip ZIP]
#       makes the prefix DIR/prefix and keeps its server running until
#       cleanup; with --display also a virtual display for the run's
#       programs, with --unzip the zip unpacked into DIR/dist
#   scripts/wine.sh run DIR PROGRAM ARGS...
#       runs PROGRAM there and ends with its exit status
#   scripts/wine.sh cleanup DIR
#       stops Wine and the display, removes DIR
#
# run passes the environment on; without a DISPLAY of the caller's the
# program uses the display setup made. Wine's desktop process, started by
# setup, lives on that display for the whole run: started by a program
# instead, on the program's own display, it would end with that display, and
# a program started meanwhile would find no desktop and open no window;
# VELMORA_WINE_PATH (folders separated by ':') is where Windows looks for
# DLLs besides the program's own folder. Without a sound card here, SDL's
# audio driver defaults to dummy (or set disk).
set -uo pipefail
command=${1:-}
dir=${2:-}
[ -n "$command" ] && [ -n "$dir" ] || { sed -n '2,23p' "$0" >&2; exit 2; }
shift 2
dir=$(realpath -m "$dir")
source "$(dirname "$0")/display.sh"

# No debug output and no offer to install .NET or a browser engine.
wine_environment() {
    export WINEPREFIX=$dir/prefix WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -f "$dir/display" ] && [ -z "${DISPLAY:-}" ]; then
        DISPLAY=":$(head -n 1 "$dir/display")"
        export DISPLAY
    fi
}

setup() {
    local display="" zip=""
    while [ $# -gt 0 ]; do
        case $1 in
        --display) display=1 ;;
        --unzip) zip=${2:-}; shift ;;
        *) echo "wine.sh: unknown option $1" >&2; return 2 ;;
        esac
        shift
    done
    cleanup && mkdir -p "$dir" || return 1
    if [ -n "$zip" ]; then
        mkdir -p "$dir/dist" && (cd "$dir/dist" && unzip -q "$(realpath "$zip")") ||
            { echo "wine.sh: cannot unzip $zip" >&2; return 1; }
    fi
    if [ -n "$display" ]; then
        start_display "$dir" || { echo "wine.sh: Xvfb did not start" >&2; return 1; }
        echo "$xvfb" >"$dir/xvfb.pid"
    fi
    wine_environment
    local start=$SECONDS
    wineboot --init </dev/null >"$dir/wineboot.log" 2>&1 || {
        cat "$dir/wineboot.log" >&2
        return 1
    }
    wineserver -w
    echo "Wine prefix made in $((SECONDS - start)) s"
    # A persistent server serves every program of the run from here on, with
    # Wine's services started here, detached: started by the first program
    # instead, they would hold its output open, and ctest would wait on it.
    setsid wineserver -p </dev/null >/dev/null 2>&1
    setsid wineboot </dev/null >/dev/null 2>&1
    return 0
}

# Windows-style DLL search path from the Unix folders: Z: is the root.
wine_path() {
    local IFS=: folder out=""
    for folder in ${VELMORA_WINE_PATH:-}; do
        out+="Z:$(realpath -m "$folder" | tr / '\\');"
    done
    echo "$out"
}

run() {
    [ -d "$dir/prefix" ] || { echo "wine.sh: no setup in $dir" >&2; exit 2; }
    wine_environment
    export WINEPATH
    WINEPATH=$(wine_path)
    export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
    exec wine "$@"
}

cleanup() {
    if [ -d "$dir/prefix" ]; then
        WINEPREFIX=$dir/prefix wineserver -k 2>/dev/null
        WINEPREFIX=$dir/prefix wineserver -w 2>/dev/null
    fi
    [ -f "$dir/xvfb.pid" ] && kill "$(cat "$dir/xvfb.pid")" 2>/dev/null
    rm -rf "$dir"
    return 0
}

case $command in
setup) setup "$@" ;;
run) run "$@" ;;
cleanup) cleanup ;;
*) echo "wine.sh: unknown command $command" >&2; exit 2 ;;
esac
