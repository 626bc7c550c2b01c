#!/usr/bin/env bash
# Builds the game's libraries for the web (WebAssembly, Debian's emscripten)
# from Debian's own source packages, with Debian's patches, and prints the
# prefix that holds them: include/, lib/ with the static libraries built with
# -pthread and their pkg-config files, sdl-src/ with SDL's internal headers
# for our own web drivers (platform/web/sdl/), licenses/. Progress goes to
# stderr.
#
#   scripts/web-deps.sh
#
# The sources are compiled file by file from fixed lists, without their
# configure scripts: every link test of a configure is a whole emcc link,
# half a minute each on a busy machine, and a configure makes hundreds. What
# configure would have found is written out in platform/web/deps/ (SDL's
# SDL_config.h, libogg's config_types.h, the pkg-config files); libpng and
# FreeType use their own default configuration headers, as Debian patched
# them. SDL is Debian's SDL 1.2 with every Linux driver off: software video
# and silence, Unix threads and timers, plus the two entries that name our
# web video and audio drivers (platform/web/sdl/web-drivers.patch); the
# drivers themselves are built with the engine. Emscripten's own SDL is a
# JavaScript emulation that cannot run the game, and its ports need the
# internet.
#
# They are kept in ${VELMORA_CACHE:-~/.cache/velmora}/web-deps/<key>/, the key
# being a hash of this script, platform/web/deps/, the patch, the source
# fetching and the versions of every source and of emscripten; a change to any
# of them builds afresh, and a second run takes them from there. Built aside,
# moved into place when whole.
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
config=$root/platform/web/deps
patch=$root/platform/web/sdl/web-drivers.patch

say() { echo "web-deps.sh: $*" >&2; }
fail() { say "$*"; exit 1; }

installed_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null; }

# Everything the built libraries depend on, one line each.
deps_inputs() {
    sha256sum scripts/web-deps.sh scripts/web-env.sh scripts/debian-source.sh "$patch" \
        "$config"/* | awk '{print $1}'
    for package in $sources; do
        echo "$package $(debian_source_version "$package")"
    done
    echo "emscripten $(installed_version emscripten)"
}

# --- Compiling ---------------------------------------------------------------

# What emcc passes to clang for a threaded build, less the include folder of
# Emscripten's own SDL; clang is then called directly, without emcc's
# start-up for every file.
clang_flags() {
    emcc --cflags -pthread | sed 's|-Xclang -iwithsysroot/include/SDL||'
}

# compile_all <folder> <flags> <sources...>: each source, relative to folder,
# into folder/obj/, two at a time or as many as there are jobs.
compile_all() {
    local folder=$1 flags=$2
    shift 2
    mkdir -p "$folder/obj" || return 1
    # shellcheck disable=SC2086
    printf '%s\n' "$@" | (cd "$folder" && xargs -P "$jobs" -I{} sh -c \
        'clang-14 '"$cflags $flags"' -O2 -c "$1" -o "obj/$(echo "$1" | tr / _).o"' _ {}) \
        >>"$folder.log" 2>&1 || { tail -n 30 "$folder.log" >&2; return 1; }
}

archive() {  # archive <folder> <library name>
    mkdir -p "$prefix/lib" && rm -f "$prefix/lib/$2" &&
        emar rcs "$prefix/lib/$2" "$1"/obj/*.o >>"$1.log" 2>&1
}

pc_file() {  # pc_file <name>: from platform/web/deps/<name>.pc, into the prefix
    mkdir -p "$prefix/lib/pkgconfig" && cp "$config/$1.pc" "$prefix/lib/pkgconfig/"
}

# --- The libraries -----------------------------------------------------------

build_zlib() {
    compile_all "$1" "-D_LARGEFILE64_SOURCE=1 -DHAVE_HIDDEN" adler32.c crc32.c deflate.c \
        infback.c inffast.c inflate.c inftrees.c trees.c zutil.c compress.c uncompr.c gzclose.c \
        gzlib.c gzread.c gzwrite.c || return 1
    archive "$1" libz.a && mkdir -p "$prefix/include" &&
        cp "$1/zlib.h" "$1/zconf.h" "$prefix/include/" && pc_file zlib
}

build_libpng1.6() {
    cp "$1/scripts/pnglibconf.h.prebuilt" "$1/pnglibconf.h" || return 1
    compile_all "$1" "-I$prefix/include" png.c pngerror.c pngget.c pngmem.c pngpread.c \
        pngread.c pngrio.c pngrtran.c pngrutil.c pngset.c pngtrans.c pngwio.c pngwrite.c \
        pngwtran.c pngwutil.c || return 1
    archive "$1" libpng16.a && mkdir -p "$prefix/include/libpng16" &&
        cp "$1/png.h" "$1/pngconf.h" "$1/pnglibconf.h" "$prefix/include/libpng16/" && pc_file libpng
}

# The modules of FreeType's default ftmodule.h, each in its one-file form.
freetype_sources="src/base/ftsystem.c src/base/ftinit.c src/base/ftdebug.c src/base/ftbase.c
src/base/ftbbox.c src/base/ftbdf.c src/base/ftbitmap.c src/base/ftcid.c src/base/ftfstype.c
src/base/ftgasp.c src/base/ftglyph.c src/base/ftgxval.c src/base/ftmm.c src/base/ftotval.c
src/base/ftpatent.c src/base/ftpfr.c src/base/ftstroke.c src/base/ftsynth.c src/base/fttype1.c
src/base/ftwinfnt.c src/autofit/autofit.c src/bdf/bdf.c src/cff/cff.c src/cid/type1cid.c
src/pcf/pcf.c src/pfr/pfr.c src/psaux/psaux.c src/pshinter/pshinter.c src/psnames/psnames.c
src/raster/raster.c src/sdf/sdf.c src/sfnt/sfnt.c src/smooth/smooth.c src/svg/ftsvg.c
src/truetype/truetype.c src/type1/type1.c src/type42/type42.c src/winfonts/winfnt.c
src/cache/ftcache.c src/gzip/ftgzip.c src/lzw/ftlzw.c"

build_freetype() {
    # shellcheck disable=SC2086
    compile_all "$1" "-DFT2_BUILD_LIBRARY -DFT_CONFIG_OPTION_SYSTEM_ZLIB -DHAVE_UNISTD_H \
        -DHAVE_FCNTL_H -I$1/include -I$prefix/include" $freetype_sources || return 1
    archive "$1" libfreetype.a && mkdir -p "$prefix/include/freetype2" &&
        cp -r "$1/include/." "$prefix/include/freetype2/" && pc_file freetype2
}

build_libogg() {
    cp "$config/config_types.h" "$1/include/ogg/" || return 1
    compile_all "$1" "-I$1/include" src/bitwise.c src/framing.c || return 1
    archive "$1" libogg.a && mkdir -p "$prefix/include/ogg" &&
        cp "$1"/include/ogg/*.h "$prefix/include/ogg/" && pc_file ogg
}

build_libvorbis() {
    local lib="analysis.c bitrate.c block.c codebook.c envelope.c floor0.c floor1.c info.c
lookup.c lpc.c lsp.c mapping0.c mdct.c psy.c registry.c res0.c sharedbook.c smallft.c
synthesis.c window.c"
    # shellcheck disable=SC2086
    compile_all "$1" "-I$1/include -I$1/lib -I$prefix/include" $(printf 'lib/%s ' $lib) ||
        return 1
    archive "$1" libvorbis.a || return 1
    rm -rf "$1/obj" && compile_all "$1" "-I$1/include -I$prefix/include" lib/vorbisfile.c &&
        archive "$1" libvorbisfile.a && mkdir -p "$prefix/include/vorbis" &&
        cp "$1"/include/vorbis/*.h "$prefix/include/vorbis/" && pc_file vorbis &&
        pc_file vorbisfile
}

# Every part of SDL but the drivers of other systems: the generic core, Unix
# threads and timers, and the dummy drivers, which stand in where the page
# gives nothing (a joystick, a CD, shared objects).
sdl_sources() {
    (cd "$1" && ls src/*.c src/audio/*.c src/audio/dummy/*.c src/cdrom/*.c src/cdrom/dummy/*.c \
        src/cpuinfo/*.c src/events/*.c src/file/*.c src/joystick/*.c src/joystick/dummy/*.c \
        src/loadso/dummy/*.c src/stdlib/*.c src/thread/*.c src/thread/pthread/*.c \
        src/timer/*.c src/timer/unix/*.c src/video/*.c src/video/dummy/*.c |
        grep -v -e SDL_mixer_MMX -e SDL_yuv_mmx -e SDL_audiodev)
}

build_libsdl1.2() {
    (cd "$1" && patch -p1 <"$patch") >>"$1.log" 2>&1 || { tail -n 30 "$1.log" >&2; return 1; }
    cp "$config/SDL_config.h" "$1/include/SDL_config.h" || return 1
    # shellcheck disable=SC2046
    compile_all "$1" "-D_GNU_SOURCE=1 -D_REENTRANT -I$1/include -I$1/src -I$1/src/video \
        -I$1/src/events -I$1/src/audio -I$1/src/thread -I$1/src/thread/pthread" \
        $(sdl_sources "$1") || return 1
    archive "$1" libSDL.a && mkdir -p "$prefix/include/SDL" &&
        cp "$1"/include/*.h "$prefix/include/SDL/" && pc_file sdl || return 1
    (cd "$1/src" && find . -name '*.h' -exec cp --parents {} "$prefix/sdl-src/" \;)
}

timed() {  # timed <name> <command...>
    local start=$SECONDS
    "${@:2}" || fail "building $1 failed"
    say "$1 built in $((SECONDS - start)) s"
}

build_deps() {  # build_deps <final prefix>
    local work=$cache/web-work
    prefix=$1.partial
    rm -rf "$prefix" "$work" && mkdir -p "$prefix/sdl-src" "$work/src" || return 1
    cflags=$(clang_flags) || fail "emcc does not answer"
    for package in $sources; do
        local source
        source=$(fetch_debian_source "$package" "$work/src") || fail "no source for $package"
        timed "$package" "build_$package" "$source"
        keep_licenses "$package" "$source" || fail "no licence texts for $package"
    done
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
