#!/usr/bin/env bash
# The one way a private virtual display (Xvfb) is started, for the scripts
# and the C++ end-to-end tests alike. Xvfb chooses a free display and writes
# its number to a descriptor once it listens; without -noreset it would reset
# whenever its last client leaves, and drop the connections that arrive
# meanwhile.
#
#   scripts/display.sh FD [WIDTHxHEIGHT]   runs Xvfb, writing the number to FD
#
# Sourced, it gives the scripts:
#
# start_display <scratch folder>: starts it in a session of its own, with no
# descriptor of the caller's held open, sets xvfb to its process id and
# exports DISPLAY once a client's connection is answered; fails when it does
# not start. The caller stops it (kill, wait): a display number is only free
# again once its server has gone.
#
# private_display: start_display in a new folder, set as scratch; when the
# script exits, the game (pid, which the caller sets once it starts one) and
# the display are ended and waited for, and the folder removed.
#
# find_window <caption> <pid>: prints the id of the window named caption once
# it appears, for as long as process pid runs (20 s at most).
#
# first_choice <game folder>: "X Y", the point just inside the first letter
# of a menu's first choice, half a line down; a click there also ends any
# other wait. From the game's settings and its text box picture.

# Run rather than sourced: only a sourced script may return.
if ! (return 0 2>/dev/null); then
    exec Xvfb -displayfd "$1" -screen 0 "${2:-1024x768}x24" -nolisten tcp -noreset
fi

display_script=$(realpath "${BASH_SOURCE[0]}")

start_display() {
    local scratch=$1
    setsid "$display_script" 3 3>"$scratch/display" </dev/null >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
        grep -q . "$scratch/display" 2>/dev/null && break
        sleep 0.1
    done
    grep -q . "$scratch/display" 2>/dev/null || return 1
    export DISPLAY=":$(head -n 1 "$scratch/display")"
    for _ in $(seq 50); do
        xdotool getmouselocation >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

private_display() {
    scratch=$(mktemp -d)
    xvfb=""
    pid=""
    trap end_private_display EXIT
    start_display "$scratch"
}

end_private_display() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid"
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb"
    rm -rf "$scratch"
}

find_window() {
    local window
    for _ in $(seq 200); do
        kill -0 "$2" 2>/dev/null || return 1
        window=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$window" ] && echo "$window" && return 0
        sleep 0.1
    done
    return 1
}

# The last decimal value of a key in a settings file, or the default.
setting_of() {  # setting_of <file> <key> <default>
    local value
    value=$(sed -n "s/^ *$2 *= *\(-\?[0-9]\+\)\r\?$/\1/p" "$1" 2>/dev/null | tail -n 1)
    echo "${value:-$3}"
}

first_choice() {
    local settings=$1/data/game.settings bytes
    # The text box picture's height, from its PNG header.
    read -r -a bytes < <(od -An -tu1 -j20 -N4 "$1/data/menubg.png")
    local box=$(((bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3]))
    echo "$(($(setting_of "$settings" TextOffsetX 0) + 4))" \
        "$(($(setting_of "$settings" Height 600) - box + $(setting_of "$settings" TextOffsetY 0) +
            $(setting_of "$settings" FontSize 16) / 2))"
}
