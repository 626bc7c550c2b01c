#!/usr/bin/env bash
# Installs what is missing, builds Velmora in Release and plays the demo game.
set -uo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages $BUILD_PACKAGES || exit 1

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF \
    -DVELMORA_BENCHMARKS=OFF >/dev/null &&
    cmake --build build-release -j "$(nproc)" || exit 1

if [ ! -f demo/data/scenario/main.txt ]; then
    echo "Built build-release/velmora. The demo game (demo/) is not there yet."
    exit 0
fi
cd demo && exec ../build-release/velmora
