#!/usr/bin/env bash
# Builds what velmora-pack makes packages from, into build/runtimes/:
#   linux-x64/    the velmora program (run path $ORIGIN/lib), lib/ with the
#                 game's libraries, licenses/ with their copyright files
#   windows-x64/  velmora.exe, velmora-lsp.exe, their DLLs and licenses/: the
#                 runtime that scripts/windows.sh stages (run first when it is
#                 missing)
#   web/          index.html, velmora.js, velmora.worker.js, velmora.wasm and
#                 licenses/, from scripts/web.sh (run first when it is missing)
# and prints the oldest C library version the Linux runtime needs.
# SDL 1.2 is built from Debian's source package with its X11, ALSA and
# PulseAudio back ends loaded at run time, so the package needs no X11 or
# sound library of its own; SDL_ttf, FreeType, libpng, libogg and libvorbis
# are Debian's own binaries. The libraries are kept in the cache
# (scripts/lib.sh) as linux-runtime/<key>/, keyed by the functions that make
# them and the package versions; the program is rebuilt in
# build-runtime-linux/ each run (incrementally).
#
#   scripts/runtimes.sh
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
source scripts/packages.sh
source scripts/debian-source.sh
ensure_packages $BUILD_PACKAGES $RUNTIME_PACKAGES || exit 1

out=build/runtimes
# Debian's binary packages whose libraries the game loads; with their
# dependencies but the C library's.
debs="libsdl-ttf2.0-0 libfreetype6 libbrotli1 libpng16-16 zlib1g libogg0 libvorbis0a libvorbisfile3"
libs="libSDL_ttf-2.0.so.0 libfreetype.so.6 libbrotlidec.so.1 libbrotlicommon.so.1 libpng16.so.16
libz.so.1 libogg.so.0 libvorbis.so.0 libvorbisfile.so.3"

versions() {
    for package in libsdl1.2debian $debs; do
        apt-cache policy "$package" | sed -n "s/^  Candidate: /$package=/p"
    done
}

# SDL 1.2 with Debian's compiler flags, the X11, ALSA and PulseAudio back
# ends opened at run time, and without OpenGL or the back ends that would
# pull in libraries.
build_sdl() {  # build_sdl <prefix> <scratch>
    local source
    source=$(fetch_debian_source libsdl1.2 "$2") || return 1
    (
        export CFLAGS=$(dpkg-buildflags --get CFLAGS) LDFLAGS=$(dpkg-buildflags --get LDFLAGS) \
            CPPFLAGS=$(dpkg-buildflags --get CPPFLAGS)
        sdl12_build "$source" "$1" --enable-sdl-dlopen \
            --disable-video-ggi --disable-video-svga --disable-video-aalib --disable-video-caca \
            --disable-video-directfb --disable-video-opengl --disable-osmesa-shared \
            --disable-nas --disable-esd --disable-arts \
            --enable-alsa --enable-alsa-shared --enable-pulseaudio --enable-pulseaudio-shared \
            --enable-video-x11 --enable-x11-shared
    ) && cp "$source/debian/copyright" "$1/libsdl1.2.copyright" &&
        # Found from where it lies, wherever the cache is.
        sed -i 's|^prefix=.*|prefix=${pcfiledir}/../..|' "$1/lib/pkgconfig/sdl.pc"
}

# SDL 1.2 is under the LGPL 2.1: its text, and where its source is.
sdl_licence() {  # sdl_licence <licence folder>
    local licenses=$1
    cp /usr/share/common-licenses/LGPL-2.1 "$licenses/LGPL-2.1.txt" || return 1
    cat >"$licenses/libsdl1.2-source.txt" <<SOURCE
SDL 1.2 in lib/libSDL-1.2.so.0 is built, unchanged, from Debian 12's source
package libsdl1.2 $(apt-cache policy libsdl1.2debian | sed -n 's/^  Candidate: //p'),
with Debian's patches, as published at
https://deb.debian.org/debian/pool/main/libs/libsdl1.2/ (and, for every
version, https://snapshot.debian.org/package/libsdl1.2/). It is configured
with the X11, ALSA and PulseAudio back ends loaded at run time and without
OpenGL. It is used under the GNU Lesser General Public License 2.1
(LGPL-2.1.txt); you may replace lib/libSDL-1.2.so.0 with your own build.
SOURCE
}

# The Debian binaries, unpacked; each library under its run-time name.
take_debs() {  # take_debs <lib folder> <licence folder> <scratch>
    local lib=$1 licenses=$2 scratch=$3 package
    (cd "$scratch" && apt-get download -q $debs >/dev/null) || fail "cannot download $debs"
    for package in $debs; do
        dpkg-deb -x "$scratch/${package}"_*.deb "$scratch/unpacked" || fail "cannot unpack $package"
        cp "$scratch/unpacked/usr/share/doc/$package/copyright" "$licenses/$package.txt" ||
            fail "$package has no copyright file"
    done
    for name in $libs; do
        cp -L "$(find "$scratch/unpacked" -name "$name" | head -n 1)" "$lib/$name" ||
            fail "no $name in $debs"
    done
}

# make_libraries <folder> <scratch>: SDL, the Debian binaries and licences.
make_libraries() {
    mkdir -p "$1/lib" "$1/licenses" && build_sdl "$1/sdl" "$2" || return 1
    cp -L "$1/sdl/lib/libSDL-1.2.so.0" "$1/lib/" &&
        mv "$1/sdl/libsdl1.2.copyright" "$1/licenses/libsdl1.2.txt" &&
        sdl_licence "$1/licenses" && take_debs "$1/lib" "$1/licenses" "$2"
}

linux_libraries() {  # prints their folder
    local key
    key=$( (function_inputs sdl12_build build_sdl sdl_licence take_debs make_libraries
        echo "$debs $libs"; versions) | cache_key)
    cached linux-runtime "$key" make_libraries
}

# The game built against our SDL; the libraries are found in lib/ beside it
# (RPATH rather than RUNPATH, so it holds for the libraries' own needs too),
# and the C++ run-time is linked in, for players with an older one. GCC's
# own run-time (libgcc_s, on every system) stays shared and unused code is
# dropped: linked in, each would ask for a newer C library (2.35, 2.36).
linux_program() {  # linux_program <libraries folder>
    local libraries=$1
    PKG_CONFIG_PATH="$libraries/sdl/lib/pkgconfig" cmake -S . -B build-runtime-linux -G Ninja \
        -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF -DVELMORA_BENCHMARKS=OFF \
        -DCMAKE_BUILD_WITH_INSTALL_RPATH=ON '-DCMAKE_INSTALL_RPATH=$ORIGIN/lib' \
        "-DCMAKE_EXE_LINKER_FLAGS=-static-libstdc++ -Wl,--gc-sections -Wl,--disable-new-dtags" \
        >/dev/null && cmake --build build-runtime-linux -j2 --target velmora >/dev/null ||
        fail "the Linux program did not build (build-runtime-linux/)"
}

linux_runtime() {
    local libraries
    libraries=$(linux_libraries) || exit 1
    linux_program "$libraries"
    rm -rf "$out/linux-x64" && mkdir -p "$out/linux-x64" || exit 1
    cp -r "$libraries/lib" "$libraries/licenses" "$out/linux-x64/" &&
        cp build-runtime-linux/velmora "$out/linux-x64/velmora" || exit 1
    strip "$out/linux-x64/velmora" && strip --strip-unneeded "$out/linux-x64/lib/libSDL-1.2.so.0"
}

# The oldest GNU C library the Linux runtime runs on: the newest GLIBC_
# symbol version that the program and its libraries ask for.
oldest_glibc() {
    objdump -T "$out/linux-x64/velmora" "$out/linux-x64/lib/"* |
        grep -o 'GLIBC_[0-9.]*' | sort -u -V | tail -n 1 | sed 's/GLIBC_//'
}

# Nothing of the player's system may ship: no C library, X11, sound server
# or OpenGL library, and SDL asks for none of them when it loads.
check_linux_runtime() {
    local shipped needed
    shipped=$(ls "$out/linux-x64/lib" |
        grep -E '^(libc|libm|libpthread|libdl|libX|libxcb|libasound|libpulse|libGL)[.-]')
    [ -z "$shipped" ] || fail "lib/ holds system libraries: $shipped"
    needed=$(readelf -d "$out/linux-x64/lib/libSDL-1.2.so.0" |
        grep -oE 'lib(X|xcb|asound|pulse|GL)[^]]*')
    [ -z "$needed" ] || fail "our SDL links $needed at build time"
}

# The Windows program and its DLLs, as scripts/windows.sh staged them.
windows_runtime() {
    local stage=build-windows/runtime
    # ./test.sh has just run it; alone, this script runs it once.
    if [ ! -e "$stage/velmora.exe" ] || [ ! -e "$stage/velmora-lsp.exe" ]; then
        scripts/windows.sh >&2 || fail "scripts/windows.sh failed"
    fi
    rm -rf "$out/windows-x64" && mkdir -p "$out/windows-x64" || exit 1
    cp "$stage/velmora.exe" "$stage/velmora-lsp.exe" "$stage"/*.dll "$out/windows-x64/" &&
        cp -r "$stage/licenses" "$out/windows-x64/" || fail "no Windows program in $stage"
}

# The web runtime, from build-web/ of scripts/web.sh.
web_runtime() {
    local built=build-web/web-runtime
    # ./test.sh has just run it; alone, this script runs it once.
    if [ ! -e "$built/velmora.wasm" ]; then
        scripts/web.sh >&2 || fail "scripts/web.sh failed"
    fi
    rm -rf "$out/web" && mkdir -p "$out/web" || exit 1
    cp -r "$built/." "$out/web/" || fail "no web runtime in $built"
}

timed "Linux runtime in $out/linux-x64" linux_runtime && check_linux_runtime || exit 1
say "the Linux runtime needs GNU C library $(oldest_glibc) or newer"
timed "Windows runtime in $out/windows-x64" windows_runtime || exit 1
timed "web runtime in $out/web" web_runtime || exit 1
