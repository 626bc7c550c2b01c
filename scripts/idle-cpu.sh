#!/usr/bin/env bash
# What the game costs while the player reads, against the least a program of
# its design costs: the idle floor (bench/idle), one window whose main loop
# polls events and sleeps 1 ms per pass beside a thread sleeping 1 ms in a
# loop. On one private virtual display, with the mouse still, each run
# measures every game program given in two states, each beside the floor
# running at the same time:
#   say   waiting for a click on a spoken line (the demo's harbour, three
#         characters, a voice clip; sound off, as the floor has none)
#   menu  a menu of two choices with the mouse resting on the first
# and prints the CPU of both (all their threads, in % of one core) and the
# ratio of the game's to the floor's, then the medians over the runs. The X
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
floor_pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    [ -n "$floor_pid" ] && kill "$floor_pid" 2>/dev/null && wait "$floor_pid" 2>/dev/null
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

read -r choice_x choice_y < <(first_choice "$scratch/menu")

# CPU nanoseconds of every thread of a process so far.
cpu_ns() {  # cpu_ns <pid>
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{sum += $1} END {printf "%d", sum}'
}

# Starts a program in a folder and waits for its window: sets started to
# its process id and window to the window's.
start() {  # start <folder> <caption> <program>
    (cd "$1" && SDL_VIDEODRIVER=x11 exec "$3" >/dev/null 2>&1) &
    started=$!
    if ! window=$(find_window "$2" "$started"); then
        echo "idle-cpu: the window of $3 did not appear" >&2
        exit 1
    fi
}

stop() {  # stop <pid>
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

# Sets measured to the share of one core, in %, that each process used over
# the same measured seconds, in the order given.
measure() {  # measure <pid>...
    local before=() after=() pid i
    for pid in "$@"; do before+=("$(cpu_ns "$pid")"); done
    sleep "$seconds"
    for pid in "$@"; do after+=("$(cpu_ns "$pid")"); done
    measured=""
    for i in "${!before[@]}"; do
        measured+=$(awk -v a="${before[$i]}" -v b="${after[$i]}" -v s="$seconds" \
            'BEGIN {printf " %.2f", (b - a) / s / 1e7}')
    done
}

if ! start_display "$scratch"; then
    echo "idle-cpu: Xvfb did not start" >&2
    exit 1
fi

# The floor runs throughout each run and is measured over the same seconds
# as each game state, so that both meet the same load of the machine.
results="$scratch/results"  # lines: run, case, floor %, game %, ratio, X server %
row='%-4s %-40s %8s %8s %7s %6s\n'
printf "$row" run case "floor %" "game %" ratio "X %"
for run in $(seq "$runs"); do
    start "$scratch" "Velmora idle floor" "$floor"
    floor_pid=$started
    for program in "${programs[@]}"; do
        for state in say menu; do
            start "$scratch/$state" Noname "$(realpath "$program")"
            pid=$started
            if [ "$state" = menu ]; then
                xdotool mousemove --window "$window" "$choice_x" "$choice_y"
            else
                xdotool mousemove --window "$window" 400 300
            fi
            sleep 1.5
            measure "$floor_pid" "$pid" "$xvfb"
            read -r floor_cpu cpu xcpu <<<"$measured"
            stop "$pid"
            pid=""
            ratio=$(awk -v a="$cpu" -v b="$floor_cpu" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}')
            echo "$run $program:$state $floor_cpu $cpu $ratio $xcpu" >>"$results"
            printf "$row" "$run" "$program $state" "$floor_cpu" "$cpu" "${ratio}x" "$xcpu"
        done
    done
    stop "$floor_pid"
    floor_pid=""
done

echo
echo "Medians over $runs runs of ${seconds} s (targets: say <= 1.5x, menu <= 2x the floor):"
median() {  # median <case> <field>
    awk -v c="$1" -v f="$2" '$2 == c {print $f}' "$results" | sort -g |
        awk '{v[NR] = $1} END {printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
for program in "${programs[@]}"; do
    for state in say menu; do
        printf "$row" "" "$program $state" "$(median "$program:$state" 3)" \
            "$(median "$program:$state" 4)" "$(median "$program:$state" 5)x" \
            "$(median "$program:$state" 6)"
    done
done
