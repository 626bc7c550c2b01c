#!/usr/bin/env bash
# Builds the game's libraries for 64-bit Windows from Debian's own source
# packages, with Debian's patches, and prints the prefix that holds them
# (include/, lib/, bin/ with the DLLs, licenses/). Progress goes to stderr.
#
#   scripts/windows-deps.sh
#
# They are kept in ${VELMORA_CACHE:-~/.cache/velmora}/windows-deps/<key>/, the
# key being a hash of this script, the source fetching, the toolchain and the
# versions of every source and compiler; a change to any of them builds
# afresh, and a second run takes them from there. The prefix is relocatable
# (pkg-config files find it from where they lie), so a build is made aside
# and moved into place only when whole.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/packages.sh
ensure_packages $WINDOWS_PACKAGES >&2 || exit 1
source scripts/debian-source.sh

host=x86_64-w64-mingw32
cache=${VELMORA_CACHE:-$HOME/.cache/velmora}
jobs=${VELMORA_JOBS:-$(nproc)}
sources="libsdl1.2 freetype libpng1.6 libogg libvorbis"
toolchain=$root/cmake/mingw-w64-x86_64.cmake

say() { echo "windows-deps.sh: $*" >&2; }
fail() { say "$*"; exit 1; }

installed_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null; }

# Everything the built libraries depend on, one line each.
deps_inputs() {
    sha256sum scripts/windows-deps.sh scripts/debian-source.sh "$toolchain" | awk '{print $1}'
    for package in $sources; do
        echo "$package $(debian_source_version "$package")"
    done
    for package in g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest; do
        echo "$package $(installed_version "$package")"
    done
}

# --- The libraries -----------------------------------------------------------

# Every autotools build: the posix-thread compilers, the prefix's own
# libraries first, libgcc linked into each DLL rather than shipped.
autotools_env() {
    env CC="$host-gcc-posix" CXX="$host-g++-posix" \
        PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig:/usr/$host/lib/pkgconfig" PKG_CONFIG_PATH= \
        CPPFLAGS="-I$prefix/include" CFLAGS="-O2 -g0" \
        LDFLAGS="-L$prefix/lib -static-libgcc" "$@"
}

# make_install <folder> <configure arguments...>
make_install() {
    local folder=$1
    shift
    (cd "$folder" &&
        autotools_env ./configure --host=$host --prefix="$prefix" --disable-static \
            --enable-shared "$@" &&
        autotools_env make -j"$jobs" && autotools_env make install) >"$folder.log" 2>&1 ||
        { tail -n 30 "$folder.log" >&2; return 1; }
}

# As Debian regenerates it, for its patches to configure.in; then the
# Windows quirks: libtool would refuse SDL's static DirectX import library
# in the DLL, and SDL's start-up glue would write stdout.txt/stderr.txt.
# Debian's sdl-config and sdl.pc name -lSDL alone; Windows programs also need
# the start-up glue, which calls the program's main.
build_libsdl1.2() {
    (cd "$1" && AUTOHEADER=true LIBTOOLIZE="libtoolize -fi" \
        ACLOCAL="aclocal --force --install -I /usr/share/aclocal/ -I acinclude" \
        autoreconf -fi) >"$1.log" 2>&1 || { tail -n 30 "$1.log" >&2; return 1; }
    make_install "$1" --disable-rpath --disable-stdio-redirect \
        lt_cv_deplibs_check_method=pass_all || return 1
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
        cmake --build "$1" -j "$jobs" >>"$1.log" 2>&1 &&
        cmake --install "$1" >>"$1.log" 2>&1 || { tail -n 30 "$1.log" >&2; return 1; }
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

build_deps() {  # build_deps <final prefix>
    local work=$cache/windows-work
    prefix=$1.partial
    rm -rf "$prefix" "$work" && mkdir -p "$prefix" "$work/src" || return 1
    for package in libogg libvorbis libpng1.6 freetype libsdl1.2; do
        local source
        source=$(fetch_debian_source "$package" "$work/src") || fail "no source for $package"
        timed "$package" "build_$package" "$source"
        keep_licenses "$package" "$source" || fail "no licence texts for $package"
    done
    timed googletest build_googletest "$work/googletest"
    cp "/usr/$host/lib/zlib1.dll" "$prefix/bin/" &&
        mkdir -p "$prefix/licenses/zlib" &&
        cp /usr/share/doc/libz-mingw-w64/copyright "$prefix/licenses/zlib/copyright" || return 1
    relocate "$prefix" || fail "$prefix is still named inside it"
    rm -rf "$work" "$1" && mv "$prefix" "$1" && prefix=$1
}

key=$(deps_inputs | sha256sum | cut -c1-16) || exit 1
final=$cache/windows-deps/$key
if [ -d "$final" ]; then
    say "libraries from the cache: $final"
else
    start=$SECONDS
    say "building the libraries into $final"
    build_deps "$final" || fail "the libraries did not build"
    say "libraries built in $((SECONDS - start)) s"
fi
echo "$final"
