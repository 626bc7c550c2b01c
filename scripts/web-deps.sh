#!/usr/bin/env bash
# Builds the game's libraries for the web (WebAssembly, Debian's emscripten)
# from Debian's own source packages, with Debian's patches, and prints the
# prefix that holds them: include/, lib/ with the static libraries built with
# -pthread, sdl-src/ with SDL's internal headers for our own web drivers
# (platform/web/), licenses/. Progress goes to stderr.
#
#   scripts/web-deps.sh
#
# SDL is Debian's SDL 1.2 with every Linux driver off: software video and
# silence, Unix threads and timers, plus the two entries that name our web
# video and audio drivers (platform/web/sdl/web-drivers.patch); the drivers
# themselves are built with the engine. Emscripten's own SDL is a JavaScript
# emulation that cannot run the game, and its ports need the internet.
#
# They are kept in ${VELMORA_CACHE:-~/.cache/velmora}/web-deps/<key>/, the key
# being a hash of this script, the patch, the source fetching and the versions
# of every source and of emcc; a change to any of them builds afresh, and a
# second run takes them from there. Built aside, moved into place when whole.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/packages.sh
ensure_packages $WEB_PACKAGES >&2 || exit 1
source scripts/debian-source.sh
source scripts/web-env.sh

cache=${VELMORA_CACHE:-$HOME/.cache/velmora}
jobs=${VELMORA_JOBS:-$(nproc)}
sources="zlib libpng1.6 freetype libogg libvorbis libsdl1.2"
patch=$root/platform/web/sdl/web-drivers.patch
host=wasm32-unknown-linux

say() { echo "web-deps.sh: $*" >&2; }
fail() { say "$*"; exit 1; }

installed_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null; }

# Everything the built libraries depend on, one line each.
deps_inputs() {
    sha256sum scripts/web-deps.sh scripts/web-env.sh scripts/debian-source.sh "$patch" |
        awk '{print $1}'
    for package in $sources; do
        echo "$package $(debian_source_version "$package")"
    done
    echo "emscripten $(installed_version emscripten)"
}

# --- The libraries -----------------------------------------------------------

# Every build: emcc with threads, the prefix's own libraries and pkg-config
# files only (emconfigure would let the host's in).
web_env() {
    env PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH= \
        CPPFLAGS="-I$prefix/include" CFLAGS="-O2 -pthread" LDFLAGS="-L$prefix/lib -pthread" \
        emconfigure "$@"
}

# The 2018 config.sub of some sources knows no wasm32: Debian's own build
# takes the system's, and so do we.
fresh_config_sub() {
    find "$1" -name config.sub -exec cp /usr/share/misc/config.sub {} \;
    find "$1" -name config.guess -exec cp /usr/share/misc/config.guess {} \;
}

# configure_for_web <folder> <configure arguments...>
configure_for_web() {
    local folder=$1
    shift
    fresh_config_sub "$folder"
    (cd "$folder" &&
        web_env ./configure --host=$host --prefix="$prefix" --disable-shared --enable-static \
            "$@") >>"$folder.log" 2>&1 || { tail -n 30 "$folder.log" >&2; return 1; }
}

# The libraries alone: their test and tool programs would each take a slow
# emcc link and are never used.
no_programs="check_PROGRAMS= bin_PROGRAMS= noinst_PROGRAMS="

make_and_install() {  # make_and_install <folder>
    (cd "$1" && web_env make -j"$jobs" $no_programs && web_env make install $no_programs) \
        >>"$1.log" 2>&1 || { tail -n 30 "$1.log" >&2; return 1; }
}

# make_install <folder> <configure arguments...>
make_install() { configure_for_web "$@" && make_and_install "$1"; }

# zlib's own configure takes no --host; it finds emcc through CC.
build_zlib() {
    (cd "$1" && web_env ./configure --static --prefix="$prefix" &&
        web_env make -j"$jobs" libz.a && web_env make install) >"$1.log" 2>&1 ||
        { tail -n 30 "$1.log" >&2; return 1; }
}

build_libpng1.6() { make_install "$1" --disable-hardware-optimizations; }
build_freetype() {
    make_install "$1" --without-bzip2 --without-harfbuzz --without-brotli --without-png \
        --with-zlib=yes CC_BUILD=gcc
}
build_libogg() { make_install "$1"; }
build_libvorbis() { make_install "$1"; }

sdl_off="--disable-video-x11 --disable-video-dga --disable-video-fbcon --disable-video-directfb
--disable-video-ps2gs --disable-video-ps3 --disable-video-ggi --disable-video-svga
--disable-video-vgl --disable-video-wscons --disable-video-aalib --disable-video-caca
--disable-video-qtopia --disable-video-picogui --disable-video-xbios --disable-video-gem
--disable-video-photon --disable-video-cocoa --disable-video-nanox --disable-video-opengl
--disable-oss --disable-alsa --disable-esd --disable-pulseaudio --disable-arts --disable-nas
--disable-diskaudio --disable-cdrom --disable-joystick --disable-input-events
--disable-input-tslib --disable-loadso --disable-sdl-dlopen --disable-assembly --disable-nasm
--disable-pth --disable-rpath"

# As Debian regenerates it, for its patches to configure.in. The entries
# naming our drivers are switched on in SDL_config.h; their code comes with
# the engine.
build_libsdl1.2() {
    (cd "$1" && patch -p1 <"$patch" && AUTOHEADER=true LIBTOOLIZE="libtoolize -fi" \
        ACLOCAL="aclocal --force --install -I /usr/share/aclocal/ -I acinclude" \
        autoreconf -fi) >"$1.log" 2>&1 || { tail -n 30 "$1.log" >&2; return 1; }
    # shellcheck disable=SC2086
    configure_for_web "$1" $sdl_off --enable-video-dummy --enable-dummyaudio --enable-pthreads \
        --enable-threads --enable-timers || return 1
    sed -i 's|^#define SDL_VIDEO_DRIVER_DUMMY.*|&\n#define SDL_VIDEO_DRIVER_WEB 1|;
        s|^#define SDL_AUDIO_DRIVER_DUMMY.*|&\n#define SDL_AUDIO_DRIVER_WEB 1|' \
        "$1/include/SDL_config.h" &&
        grep -q SDL_AUDIO_DRIVER_WEB "$1/include/SDL_config.h" || return 1
    make_and_install "$1" || return 1
    (cd "$1/src" && find . -name '*.h' -exec cp --parents {} "$prefix/sdl-src/" \;)
}

# The licence texts that ship beside each library: Debian's copyright file
# and the upstream licence files.
keep_licenses() {  # keep_licenses <name> <source folder>
    local into=$prefix/licenses/$1
    mkdir -p "$into" && cp "$2/debian/copyright" "$into/copyright" || return 1
    find "$2" -maxdepth 1 -type f \( -iname 'COPYING*' -o -iname 'LICENSE*' \) \
        -exec cp {} "$into/" \;
    [ -d "$2/docs" ] && find "$2/docs" -maxdepth 1 -type f \
        \( -name 'FTL.TXT' -o -name 'GPLv2.TXT' -o -name 'LICENSE.TXT' \) -exec cp {} "$into/" \;
    return 0
}

timed() {  # timed <name> <command...>
    local start=$SECONDS
    "${@:2}" || fail "building $1 failed"
    say "$1 built in $((SECONDS - start)) s"
}

# The prefix's own path, written into the pkg-config files by configure,
# becomes one found from where they lie; libtool's .la files go.
relocate() {  # relocate <prefix>
    local from=$1
    rm -f "$from"/lib/*.la
    sed -i "s|$from|\${pcfiledir}/../..|g" "$from"/lib/pkgconfig/*.pc || return 1
    sed -i -e "s|$from|\${deps_root}|g" \
        -e '1a deps_root=$(cd "$(dirname "$0")/.." \&\& pwd)' "$from/bin/sdl-config"
}

build_one() {  # build_one <package> <work folder>
    local source
    source=$(fetch_debian_source "$1" "$2/src") || fail "no source for $1"
    timed "$1" "build_$1" "$source"
    keep_licenses "$1" "$source" || fail "no licence texts for $1"
}

# SDL, whose configure alone takes minutes, beside the others, which build in
# turn (libpng and FreeType need zlib, libvorbis needs libogg).
build_deps() {  # build_deps <final prefix>
    local work=$cache/web-work sdl
    prefix=$1.partial
    rm -rf "$prefix" "$work" && mkdir -p "$prefix/sdl-src" "$work/src" "$work/sdl/src" || return 1
    debian_source_update || fail "no Debian source lists"
    build_one libsdl1.2 "$work/sdl" &
    sdl=$!
    for package in zlib libpng1.6 freetype libogg libvorbis; do
        build_one "$package" "$work" || { kill "$sdl"; wait "$sdl"; return 1; }
    done
    wait "$sdl" || return 1
    relocate "$prefix" || fail "$prefix is still named inside it"
    rm -rf "$work" "$1" && mv "$prefix" "$1" && prefix=$1
}

key=$(deps_inputs | sha256sum | cut -c1-16) || exit 1
final=$cache/web-deps/$key
if [ -d "$final" ]; then
    say "libraries from the cache: $final"
else
    start=$SECONDS
    say "building the libraries into $final"
    build_deps "$final" || fail "the libraries did not build"
    say "libraries built in $((SECONDS - start)) s"
fi
echo "$final"
