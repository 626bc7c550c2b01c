#!/usr/bin/env bash
# private_display of scripts/display.sh: the display answers while the script
# runs; once it exits, the game and the display are ended (a display left
# running would hold its number) and the scratch folder is removed.
set -uo pipefail
here=$(dirname "$0")
failures=0
check() {  # check <what> <command...>
    "${@:2}" || { echo "FAIL: $1" >&2; failures=$((failures + 1)); }
}
gone() { ! kill -0 "$1" 2>/dev/null; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
report=$work/report
# A script of its own, whose exit is the one under test; a sleep stands in
# for the game.
cat >"$work/script.sh" <<'SCRIPT'
source "$1/../../scripts/display.sh"
private_display || exit 1
xdotool getmouselocation >/dev/null 2>&1 && echo answered >"$2"
sleep 600 >/dev/null 2>&1 &
pid=$!
# Ended only once it is the sleep: a signal that reaches the shell's fork
# before then can be lost.
for _ in $(seq 500); do
    [ "$(ps -o comm= -p "$pid")" = sleep ] && break
    sleep 0.01
done
echo "$scratch $xvfb $pid" >>"$2"
SCRIPT
bash "$work/script.sh" "$here" "$report"
check "the display starts" [ $? -eq 0 ]
check "the display answers" [ "$(head -n 1 "$report")" = answered ]
read -r scratch xvfb game < <(tail -n 1 "$report")
check "the scratch folder is removed" [ ! -e "$scratch" ]
check "the display is ended" gone "$xvfb"
check "the game is ended" gone "$game"
[ "$failures" -eq 0 ]
