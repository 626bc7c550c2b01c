#!/usr/bin/env bash
# Puts sdl12-compat's libSDL-1.2.so.0 (Debian's libsdl1.2-compat, SDL 1.2 over
# SDL2) into a private folder, for running the program on it through
# LD_LIBRARY_PATH. Nothing is installed: the package is downloaded and
# unpacked there. SDL2 itself (libsdl2-2.0-0) comes with the test packages.
#
#   scripts/sdl12-compat.sh <folder>
set -uo pipefail
folder=$(realpath -m "$1")
[ -e "$folder/libSDL-1.2.so.0" ] && exit 0

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

# The package lists may be missing or stale on a fresh machine.
(cd "$scratch" && apt-get download -q libsdl1.2-compat 2>/dev/null) ||
    { $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q &&
        (cd "$scratch" && apt-get download -q libsdl1.2-compat); } || exit 1
dpkg-deb -x "$scratch"/libsdl1.2-compat_*.deb "$scratch/unpacked" || exit 1
library=$(find "$scratch/unpacked" -name 'libSDL-1.2.so.0' -path '*sdl12-compat*' | head -n 1)
[ -n "$library" ] || { echo "libsdl1.2-compat holds no libSDL-1.2.so.0" >&2; exit 1; }
mkdir -p "$folder" && cp -L "$library" "$folder/libSDL-1.2.so.0" &&
    dpkg-deb -f "$scratch"/libsdl1.2-compat_*.deb Version >"$folder/VERSION"
