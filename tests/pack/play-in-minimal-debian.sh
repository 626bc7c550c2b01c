#!/usr/bin/env bash
# The Linux package of the demo, unpacked into a minimal Debian that lacks
# every library of ours (scripts/minimal-debian.sh), plays through there under
# chroot on a private Xvfb, clicked as scripts/autoplay.sh clicks, and every
# wait's frame equals the frame of the program in the build tree; ldd inside
# finds every library the program needs.
#
#   play-in-minimal-debian.sh <source folder> <build folder>
set -uo pipefail
source_dir=$(realpath "$1")
build=$(realpath "$2")
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -x "$build/runtimes/linux-x64/velmora" ] || fail "no Linux runtime: run scripts/runtimes.sh"
root=$("$source_dir/scripts/minimal-debian.sh" libx11-6 libxext6) || fail "no minimal Debian"
for library in libSDL-1.2.so.0 libSDL_ttf-2.0.so.0 libpng16.so.16 libvorbis.so.0 \
    libfreetype.so.6; do
    [ -z "$(find "$root/usr/lib" "$root/lib" -name "$library" 2>/dev/null)" ] ||
        fail "the minimal Debian has $library of its own"
done

scratch=$(mktemp -d)
inside=$(mktemp -d -p "$root/tmp" game.XXXXXX)
mounted=()
cleanup() {
    for point in "${mounted[@]}"; do umount "$point"; done
    rm -rf "$scratch" "$inside"
}
trap cleanup EXIT

# velmora-pack finds its runtimes beside itself: a copy of it with the real
# runtimes, and stand-ins for the Windows and web ones where they are not
# built here (only the Linux package is played).
mkdir -p "$scratch/bin/runtimes" && cp "$build/velmora-pack" "$scratch/bin/" &&
    ln -s "$build/runtimes/linux-x64" "$scratch/bin/runtimes/linux-x64" || exit 1
stand_in() {  # stand_in <runtime folder> <files...>
    if [ -d "$build/runtimes/$1" ]; then
        ln -s "$build/runtimes/$1" "$scratch/bin/runtimes/$1"
        return
    fi
    mkdir -p "$scratch/bin/runtimes/$1/licenses" && local file &&
        for file in "${@:2}"; do echo "stand-in" >"$scratch/bin/runtimes/$1/$file"; done
}
stand_in windows-x64 velmora.exe velmora-lsp.exe
stand_in web index.html velmora.js velmora.wasm velmora.worker.js
"$scratch/bin/velmora-pack" --out "$scratch/dist" "$source_dir/demo" >/dev/null ||
    fail "velmora-pack failed"
tar -xzf "$scratch/dist/demo-linux-x64.tar.gz" -C "$inside" || fail "the package does not unpack"
game="/${inside#"$root"/}/demo"

missing=$(chroot "$root" ldd "$game/demo.bin" 2>&1 | grep -E 'not found|not a dynamic')
[ -z "$missing" ] || fail "ldd in the minimal Debian: $missing"
sdl=$(chroot "$root" ldd "$game/demo.bin" 2>&1 | grep libSDL-1.2)
grep -q "$game/lib/libSDL-1.2.so.0" <<<"$sdl" ||
    fail "the program does not load the package's own SDL: ${sdl:-none listed}"

# The host's X socket, seen inside, and /proc as every system has it (the
# loader finds the program's own folder, $ORIGIN, there).
mkdir -p "$root/tmp/.X11-unix" && mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" &&
    mounted+=("$root/tmp/.X11-unix") || fail "cannot bind /tmp/.X11-unix into the minimal Debian"
mount -t proc proc "$root/proc" && mounted+=("$root/proc") ||
    fail "cannot mount /proc in the minimal Debian"
printf '#!/bin/sh\nexec chroot "%s" "%s/demo"\n' "$root" "$game" >"$scratch/in-chroot"
chmod +x "$scratch/in-chroot"

# No sound card here: the same silent driver for both.
export SDL_AUDIODRIVER=dummy
"$source_dir/scripts/autoplay.sh" "$root$game" "$scratch/in-chroot" "$scratch/packed" ||
    fail "the packed game did not play through"
cp -r "$root$game" "$scratch/built-game"
"$source_dir/scripts/autoplay.sh" "$scratch/built-game" "$build/velmora" "$scratch/built" ||
    fail "the built game did not play through"

# The last shot may race the game's end: a frame more or less there is timing.
packed=$(ls "$scratch/packed" | wc -l)
built=$(ls "$scratch/built" | wc -l)
count=$((packed < built ? packed : built))
[ "$count" -gt 5 ] && [ $((packed - built)) -le 1 ] && [ $((built - packed)) -le 1 ] ||
    fail "$packed frames packed, $built built"
# A story, not one picture over and over (a blank window would be equal too).
distinct=$(md5sum "$scratch/packed"/*.png | cut -d' ' -f1 | sort -u | wc -l)
[ "$distinct" -gt 5 ] || fail "only $distinct different frames"
for frame in $(ls "$scratch/packed" | head -n "$count"); do
    differing=$(compare -metric AE "$scratch/packed/$frame" "$scratch/built/$frame" null: 2>&1)
    [ "$differing" = "0" ] || fail "$frame: $differing pixels differ"
done
echo "$count frames equal"
