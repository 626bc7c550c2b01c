#!/usr/bin/env bash
# What a thread's 1 ms sleep costs in the browser, through nanosleep (SDL's
# Unix timer, which the web build uses) against a futex wait alone, beside the
# page's floor: builds bench/web/sleep_cost.c with Debian's emcc, serves it on
# 127.0.0.1 with the isolation headers and measures it in Debian's chromium.
# Measured, not asserted. Needs the web tests' node packages (ctest -L web
# installs them) unless WEB_NODE_DIR names others.
#
#   scripts/web-sleep-cost.sh [seconds]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/web-env.sh
export WEB_NODE_DIR=${WEB_NODE_DIR:-$root/build/tests/web/node}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# The same link options as the game where they matter: main in a thread of
# its own, a pool big enough for its threads.
cp bench/web/index.html "$out/" &&
    emcc -O2 -pthread -sPROXY_TO_PTHREAD -sPTHREAD_POOL_SIZE=3 -sEXIT_RUNTIME=1 \
        -sENVIRONMENT=web,worker bench/web/sleep_cost.c -o "$out/sleep_cost.js" ||
    { echo "web-sleep-cost.sh: emcc failed" >&2; exit 1; }
coproc server { exec python3 platform/web/velmora-web-serve --port 0 "$out"; }
read -r line <&"${server[0]}"
url=$(grep -o 'http://[^ ]*' <<<"$line")
node bench/web/sleep-cost.mjs "${url%/}/index.html" "${1:-6}"
status=$?
kill "$server_PID" && wait "$server_PID"
exit $status
