#!/usr/bin/env bash
# Makes (once, cached outside the clone) a minimal Debian 12 that has what a
# desktop without our libraries has: the C library, libX11 and libXext; no
# SDL, SDL_ttf, FreeType, libpng or libvorbis. The packed game is tested
# there under chroot. Prints the system's folder on stdout.
#
#   scripts/player-system.sh
set -uo pipefail
cache=${VELMORA_CACHE:-$HOME/.cache/velmora}
packages="libx11-6,libxext6"
key=$( (cat "$0"; echo "$packages") | sha256sum | cut -c1-16)
root="$cache/player-system/$key"
[ -e "$root/.complete" ] && { echo "$root"; exit 0; }

# The mirror the machine itself installs from.
mirror=$(sed -n 's/^URIs: *\(.*\/debian\)$/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null |
    head -n 1)
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && $2 ~ /\/debian$/ {print $2; exit}' \
    /etc/apt/sources.list 2>/dev/null)
mirror=${mirror:-http://deb.debian.org/debian}

rm -rf "$root.partial" && mkdir -p "$(dirname "$root")" || exit 1
start=$(date +%s)
if ! debootstrap --variant=minbase --include="$packages" bookworm "$root.partial" "$mirror" \
    >"$cache/player-system/debootstrap.log" 2>&1; then
    echo "player-system: debootstrap failed, see $cache/player-system/debootstrap.log" >&2
    exit 1
fi
rm -rf "$root" && mv "$root.partial" "$root" && touch "$root/.complete" || exit 1
echo "player-system: made in $(($(date +%s) - start)) s" >&2
echo "$root"
