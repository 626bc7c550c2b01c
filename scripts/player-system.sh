#!/usr/bin/env bash
# Makes (once, in the cache of scripts/lib.sh as player-system/<key>/) a
# minimal Debian 12 that has what a desktop without our libraries has: the C
# library, libX11 and libXext; no SDL, SDL_ttf, FreeType, libpng or
# libvorbis. The packed game is tested there under chroot. Prints the
# system's folder on stdout.
#
#   scripts/player-system.sh
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
source scripts/debian-source.sh
packages="libx11-6,libxext6"

# From the mirror the machine itself installs from.
make_system() {  # make_system <folder> <scratch>
    debootstrap --variant=minbase --include="$packages" bookworm "$1" "$(debian_mirror)" \
        >"$2/debootstrap.log" 2>&1 || { tail -n 20 "$2/debootstrap.log" >&2; return 1; }
}

cached player-system "$( (function_inputs make_system; echo "$packages") | cache_key)" make_system
