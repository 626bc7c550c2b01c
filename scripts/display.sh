# Sourced by autoplay.sh and idle-cpu.sh: a private virtual display (Xvfb).
#
# start_display <scratch folder>: starts Xvfb on a free display number, sets
# xvfb to its process id and exports DISPLAY once a client's connection is
# answered; fails when it does not start. The caller stops it (kill, wait):
# a display number is only free again once its server has gone.

# Xvfb chooses a free display and writes its number when it starts
# listening; a client's first connection tells that it answers. Without
# -noreset the server resets whenever its last client leaves, and drops the
# connections that arrive meanwhile.
start_display() {
    local scratch=$1
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/display" \
        2>/dev/null &
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

# find_window <caption> <pid>: prints the id of the window named caption once
# it appears, for as long as process pid runs (20 s at most).
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
