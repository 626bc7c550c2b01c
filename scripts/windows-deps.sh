#!/usr/bin/env bash
# Builds the game's libraries for 64-bit Windows from Debian's own source
# packages, with Debian's patches, and prints the prefix that holds them
# (include/, lib/, bin/ with the DLLs, licenses/). Progress goes to stderr.
#
#   scripts/windows-deps.sh
#
# They are kept in the cache (scripts/lib.sh) as windows-deps/<key>/, the key
# being a hash of the functions below that build them, the toolchain file and
# the versions of every source and compiler. The prefix is relocatable
# (pkg-config files find it from where they lie).
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/lib.sh
source scripts/packages.sh
ensure_packages $WINDOWS_PACKAGES >&2 || exit 1
source scripts/debian-source.sh

host=x86_64-w64-mingw32
sources="libogg libvorbis libpng1.6 freetype libsdl1.2"
toolchain=$root/cmake/mingw-w64-x86_64.cmake

# --- The libraries -----------------------------------------------------------

# Every autotools build: the posix-thread compilers, the prefix's own
# libraries first, libgcc linked into each DLL rather than shipped.
autotools_env() {
    (
        export CC="$host-gcc-posix" CXX="$host-g++-posix" \
            PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig:/usr/$host/lib/pkgconfig" PKG_CONFIG_PATH= \
            CPPFLAGS="-I$prefix/include" CFLAGS="-O2 -g0" LDFLAGS="-L$prefix/lib -static-libgcc"
        "$@"
    )
}

# make_install <folder> <configure arguments...>
make_install() {
    local folder=$1
    shift
    (cd "$folder" &&
        autotools_env ./configure --host=$host --prefix="$prefix" --disable-static \
            --enable-shared "$@" &&
        autotools_env make -j"$velmora_jobs" && autotools_env make install) >"$folder.log" 2>&1 ||
        { tail -n 30 "$folder.log" >&2; return 1; }
}

# The Windows quirks: libtool would refuse SDL's static DirectX import
# library in the DLL, and SDL's start-up glue would write
# stdout.txt/stderr.txt. Debian's sdl-config and sdl.pc name -lSDL alone;
# Windows programs also need the start-up glue, which calls the program's main.
build_libsdl1.2() {
    autotools_env sdl12_build "$1" "$prefix" --host=$host --enable-shared \
        --disable-stdio-redirect lt_cv_deplibs_check_method=pass_all || return 1
    sed -i 's/^Libs: \(.*\) -lSDL$/Libs: \1 -lmingw32 -lSDLmain -lSDL/' "$prefix/lib/pkgconfig/sdl.pc"
    sed -i 's/^\( *echo -L.*\) -lSDL$/\1 -lmingw32 -lSDLmain -lSDL/' "$prefix/bin/sdl-config"
    grep -q -- '-lSDLmain' "$prefix/lib/pkgconfig/sdl.pc" || fail "sdl.pc not mended"
}

build_freetype() {
    make_install "$1" --without-bzip2 --without-harfbuzz --without-brotli --without-png
}

build_libpng1.6() { make_install "$1"; }
build_libogg() { make_install "$1"; }
build_libvorbis() { make_install "$1"; }

build_googletest() {
    cmake -S /usr/src/googletest -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DVELMORA_WINDOWS_DEPS="$prefix" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" >"$1.log" 2>&1 &&
        cmake --build "$1" -j "$velmora_jobs" >>"$1.log" 2>&1 &&
        cmake --install "$1" >>"$1.log" 2>&1 || { tail -n 30 "$1.log" >&2; return 1; }
}

# The prefix's own path, written into the pkg-config files and the -config
# scripts by configure, becomes one found from where they lie; libtool's .la
# files go, as Debian drops them.
relocate() {  # relocate <prefix>
    local from=$1 script
    rm -f "$from"/lib/*.la
    sed -i "s|$from|\${pcfiledir}/../..|g" "$from"/lib/pkgconfig/*.pc || return 1
    for script in "$from"/bin/*-config; do
        sed -i -e "s|$from|\${deps_root}|g" \
            -e '1a deps_root=$(cd "$(dirname "$0")/.." \&\& pwd)' "$script" || return 1
    done
    ! grep -rIl "$from" "$from" >&2
}

# build_deps <prefix> <scratch>: every library into the prefix.
build_deps() {
    local package source
    prefix=$1
    for package in $sources; do
        source=$(fetch_debian_source "$package" "$2") || return 1
        timed "$package" "build_$package" "$source" || return 1
        keep_licenses "$package" "$source" || { say "no licence texts for $package"; return 1; }
    done
    timed googletest build_googletest "$2/googletest" || return 1
    cp "/usr/$host/lib/zlib1.dll" "$prefix/bin/" &&
        mkdir -p "$prefix/licenses/zlib" &&
        cp /usr/share/doc/libz-mingw-w64/copyright "$prefix/licenses/zlib/copyright" || return 1
    relocate "$prefix" || { say "$prefix is still named inside it"; return 1; }
}

# Everything the built libraries depend on, one line each.
deps_inputs() {
    function_inputs autotools_env make_install sdl12_build $(printf 'build_%s ' $sources) \
        build_googletest keep_licenses relocate build_deps
    sha256sum "$toolchain" | cut -d' ' -f1
    for package in $sources; do
        echo "$package $(debian_source_version "$package")"
    done
    package_inputs g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest
}

key=$(deps_inputs | cache_key) || exit 1
cached windows-deps "$key" build_deps
