#!/usr/bin/env bash
# Builds Velmora's web runtime on this Debian machine with Debian's
# emscripten: the game's libraries from Debian's own source packages
# (scripts/web-deps.sh, cached outside the clone), then the game in
# build-web/, whose web-runtime/ folder holds what velmora-pack puts into a
# web package besides the game: index.html, velmora.js, velmora.worker.js,
# velmora.wasm and licenses/.
#
#   scripts/web.sh
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/packages.sh
ensure_packages $WEB_PACKAGES || exit 1
source scripts/web-env.sh

jobs=${VELMORA_JOBS:-$(nproc)}
build=$root/build-web
runtime=$build/web-runtime

say() { echo "web.sh: $*"; }
fail() { echo "web.sh: $*" >&2; exit 1; }

timed() {  # timed <name> <command...>
    local start=$SECONDS
    "${@:2}" || fail "building $1 failed"
    say "$1 built in $((SECONDS - start)) s"
}

# The game alone: the tools and tests are Linux programs.
build_game() {
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/emscripten-web.cmake" \
        -DVELMORA_WEB_DEPS="$prefix" -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF \
        -DVELMORA_BENCHMARKS=OFF >"$build/configure.log" 2>&1 ||
        { tail -n 30 "$build/configure.log" >&2; return 1; }
    cmake --build "$build" -j "$jobs" --target web_runtime
}

prefix=$(scripts/web-deps.sh) || fail "the libraries did not build"
mkdir -p "$build"
timed "the game" build_game
for file in index.html velmora.js velmora.worker.js velmora.wasm; do
    [ -f "$runtime/$file" ] || fail "no $file in $runtime"
done
say "$runtime: wasm $(stat -c %s "$runtime/velmora.wasm") bytes ($(gzip -9c "$runtime/velmora.wasm" |
    wc -c) gzipped), JavaScript $(cat "$runtime"/*.js | wc -c) bytes"
