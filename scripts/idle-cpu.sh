#!/usr/bin/env bash
# What the game costs while the player reads, against the least a program of
# its design costs: the idle floor (bench/idle), one window whose main loop
# polls events and sleeps 1 ms per pass beside a thread sleeping 1 ms in a
# loop. On one private virtual display, with the mouse still, each run
# measures the floor, then every game program given in two states:
#   say   waiting for a click on a spoken line (the demo's harbour, three
#         characters, a voice clip; sound off, as the floor has none)
#   menu  a menu of two choices with the mouse resting on the first
# and prints each one's CPU (all its threads, in % of one core) and its ratio
# to the floor of the same run, then the medians over the runs. The X
# server's CPU in the same seconds is shown beside.
#
#   scripts/idle-cpu.sh [-n runs] [-s seconds] [game program...]
#
# Defaults: 4 runs of 3 s each, build-bench/velmora and
# build-bench/bench/idle/idle_floor (IDLE_FLOOR overrides the latter); several
# game programs, e.g. an older build and this one, are measured side by side.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/display.sh

runs=4
seconds=3
while getopts "n:s:" option; do
    case $option in
        n) runs=$OPTARG ;;
        s) seconds=$OPTARG ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
programs=("$@")
[ ${#programs[@]} -eq 0 ] && programs=(build-bench/velmora)
floor=${IDLE_FLOOR:-build-bench/bench/idle/idle_floor}
for program in "$floor" "${programs[@]}"; do
    [ -x "$program" ] || { echo "idle-cpu: no program $program (build build-bench first)" >&2; exit 2; }
done
floor=$(realpath "$floor")

scratch=$(mktemp -d)
xvfb=""
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# A game of the demo's files whose script holds still in one state.
make_game() {  # make_game <folder> <script>
    mkdir -p "$1"
    cp -r demo/data "$1/"
    printf 'EnableSound=0\nFullscreen=0\n' >"$1/velmora.settings"
    printf '%b' "$2" >"$1/data/scenario/main.txt"
}
scene='back "harbour"\nchar "mira", left\nchar "ilya"\nchar "tomas", right\n'
make_game "$scratch/say" "${scene}say \"Mira\", \"mira_welcome\", \"You came on the last ferry? Good.---The lamp needs two pairs of hands tonight.\"\n"
make_game "$scratch/menu" "${scene}item \"Go up to the lamp room\", label=lamp\nitem \"Stay on the pier\", label=pier\nmenu run\n:lamp\n:pier\n"

# Inside the first choice's first letter, from the demo's settings: text
# offset (24, 16), 20-point type, a 600-pixel window and its text box picture.
box_height=$(od -An -tu1 -j20 -N4 demo/data/menubg.png | awk '{print $1*16777216+$2*65536+$3*256+$4}')
choice_x=28
choice_y=$((600 - box_height + 16 + 10))

# CPU nanoseconds of every thread of a process so far.
cpu_ns() {  # cpu_ns <pid>
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{sum += $1} END {printf "%d", sum}'
}

# Starts a program in a folder, waits for its window, puts the mouse at
# (x, y) in it, lets it settle, and sets measured to its CPU and the X
# server's over the measured seconds, in % of one core.
measure() {  # measure <folder> <caption> <x> <y> <program> [arguments...]
    local folder=$1 caption=$2 x=$3 y=$4
    shift 4
    (cd "$folder" && SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy exec "$@" >/dev/null 2>&1) &
    pid=$!
    local window
    if ! window=$(find_window "$caption" "$pid"); then
        echo "idle-cpu: the window of $1 did not appear" >&2
        exit 1
    fi
    xdotool mousemove --window "$window" "$x" "$y"
    sleep 1.5
    local own0 x0 own1 x1
    own0=$(cpu_ns "$pid") x0=$(cpu_ns "$xvfb")
    sleep "$seconds"
    own1=$(cpu_ns "$pid") x1=$(cpu_ns "$xvfb")
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    pid=""
    measured=$(awk -v a="$own0" -v b="$own1" -v c="$x0" -v d="$x1" -v s="$seconds" \
        'BEGIN {printf "%.2f %.2f", (b - a) / s / 1e7, (d - c) / s / 1e7}')
}

if ! start_display "$scratch"; then
    echo "idle-cpu: Xvfb did not start" >&2
    exit 1
fi

results="$scratch/results"  # lines: run, case, CPU %, X server %, ratio
printf '%-4s %-40s %9s %9s %8s\n' run case "CPU %" "X %" ratio
for run in $(seq "$runs"); do
    measure "$scratch" "Velmora idle floor" 400 300 "$floor"
    read -r floor_cpu floor_x <<<"$measured"
    echo "$run floor $floor_cpu $floor_x 1" >>"$results"
    printf '%-4s %-40s %9s %9s %8s\n' "$run" floor "$floor_cpu" "$floor_x" ""
    for program in "${programs[@]}"; do
        binary=$(realpath "$program")
        for state in say menu; do
            x=400 y=300
            [ "$state" = menu ] && x=$choice_x y=$choice_y
            measure "$scratch/$state" Noname "$x" "$y" "$binary"
            read -r cpu xcpu <<<"$measured"
            ratio=$(awk -v a="$cpu" -v b="$floor_cpu" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}')
            echo "$run $program:$state $cpu $xcpu $ratio" >>"$results"
            printf '%-4s %-40s %9s %9s %7sx\n' "$run" "$program $state" "$cpu" "$xcpu" "$ratio"
        done
    done
done

echo
echo "Medians over $runs runs of ${seconds} s (targets: say <= 1.5x, menu <= 2x the floor):"
median() {  # median <case> <field>
    awk -v c="$1" -v f="$2" '$2 == c {print $f}' "$results" | sort -g |
        awk '{v[NR] = $1} END {printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
printf '%-45s %9s %9s\n' floor "$(median floor 3)" "$(median floor 4)"
for program in "${programs[@]}"; do
    for state in say menu; do
        printf '%-45s %9s %9s %7sx\n' "$program $state" "$(median "$program:$state" 3)" \
            "$(median "$program:$state" 4)" "$(median "$program:$state" 5)"
    done
done
