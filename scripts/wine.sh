#!/usr/bin/env bash
# Runs Windows programs headless under Wine: a private Xvfb and a private
# Wine prefix, made once and shared by every program of a run (the ctest
# fixture windows.wine does setup and cleanup around the windows tests).
#
#   scripts/wine.sh setup DIR              starts Xvfb, makes the prefix DIR/prefix
#   scripts/wine.sh run DIR PROGRAM ARGS   runs PROGRAM there; its exit status
#   scripts/wine.sh cleanup DIR            stops Wine and Xvfb, removes DIR
#
# run passes the environment on; VELMORA_WINE_PATH (folders separated by ':')
# is where Windows looks for DLLs besides the program's own folder. Without a
# sound card here, SDL's audio driver defaults to dummy (or set disk).
set -uo pipefail
command=${1:-}
dir=${2:-}
[ -n "$command" ] && [ -n "$dir" ] || { sed -n '2,13p' "$0" >&2; exit 2; }
shift 2
dir=$(realpath -m "$dir")

wine_environment() {
    export WINEPREFIX=$dir/prefix WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    DISPLAY=$(cat "$dir/display" 2>/dev/null) || { echo "wine.sh: no setup in $dir" >&2; exit 2; }
    export DISPLAY
}

# Xvfb picks a free display itself and writes it (-displayfd); without
# -noreset it would reset whenever its last client leaves. It and the
# wineserver are detached from the caller's output, which ctest waits on.
start_xvfb() {
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$dir/displayfd" </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 100); do
        grep -q . "$dir/displayfd" 2>/dev/null && break
        sleep 0.1
    done
    grep -q . "$dir/displayfd" || { echo "wine.sh: Xvfb did not start" >&2; return 1; }
    echo ":$(head -n 1 "$dir/displayfd")" >"$dir/display"
}

setup() {
    rm -rf "$dir" && mkdir -p "$dir" || return 1
    start_xvfb || return 1
    wine_environment
    local start=$SECONDS
    setsid wineserver -p </dev/null >/dev/null 2>&1
    wineboot --init </dev/null >"$dir/wineboot.log" 2>&1 || {
        cat "$dir/wineboot.log" >&2
        return 1
    }
    wineserver -w
    echo "Wine prefix made in $((SECONDS - start)) s"
    # The persistent server serves every program of the run from here on.
    setsid wineserver -p </dev/null >/dev/null 2>&1
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
    wine_environment
    export WINEPATH
    WINEPATH=$(wine_path)
    export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
    wine "$@"
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
setup) setup ;;
run) run "$@" ;;
cleanup) cleanup ;;
*) echo "wine.sh: unknown command $command" >&2; exit 2 ;;
esac
