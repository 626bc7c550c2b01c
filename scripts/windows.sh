#!/usr/bin/env bash
# Builds Velmora for 64-bit Windows on this Debian machine: the game's
# libraries from Debian's own source packages (cached outside the clone), the
# programs and unit tests in build-windows/, and dist/velmora-windows-x64.zip.
#
#   scripts/windows.sh            everything
#   scripts/windows.sh deps       only the libraries; prints their prefix last
#
# VELMORA_CACHE (default ~/.cache/velmora) holds the libraries under
# windows-deps/<key>/, the key being a hash of this script, the toolchain and
# the versions of every source; a change to any of them builds afresh.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/packages.sh
ensure_packages $WINDOWS_PACKAGES || exit 1
source scripts/debian-source.sh

host=x86_64-w64-mingw32
cache=${VELMORA_CACHE:-$HOME/.cache/velmora}
jobs=${VELMORA_JOBS:-$(nproc)}
sources="libsdl1.2 freetype libpng1.6 libogg libvorbis"
toolchain=$root/cmake/mingw-w64-x86_64.cmake

say() { echo "windows.sh: $*"; }
fail() { echo "windows.sh: $*" >&2; exit 1; }

installed_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null; }

# Everything the built libraries depend on, one line each.
deps_inputs() {
    sha256sum scripts/windows.sh scripts/debian-source.sh "$toolchain" | awk '{print $1}'
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

build_deps() {
    local work=$cache/windows-work
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
    rm -rf "$work"
    touch "$prefix/.complete"
}

deps() {
    local key
    key=$(deps_inputs | sha256sum | cut -c1-16) || return 1
    prefix=$cache/windows-deps/$key
    if [ -e "$prefix/.complete" ]; then
        say "libraries from the cache: $prefix"
        return 0
    fi
    local start=$SECONDS
    say "building the libraries into $prefix"
    build_deps || return 1
    say "libraries built in $((SECONDS - start)) s"
}

# --- The programs and the zip -----------------------------------------------

build=$root/build-windows
zip=$root/dist/velmora-windows-x64.zip
programs="velmora.exe velmora-check.exe velmora-storyboard.exe"

build_programs() {
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DVELMORA_WINDOWS_DEPS="$prefix" -DCMAKE_BUILD_TYPE=Release -DVELMORA_STRICT=ON \
        -DVELMORA_BENCHMARKS=OFF >/dev/null && cmake --build "$build" -j "$jobs"
}

imports() {  # imports <program or DLL>: the DLLs it loads, one a line
    $host-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'
}

# The DLLs that ship: every one of the libraries' that the programs load,
# directly or through another.
shipped_dlls() {
    local -A seen=()
    local queue=() file name
    for file in $programs; do queue+=("$build/$file"); done
    while [ ${#queue[@]} -gt 0 ]; do
        file=${queue[0]}
        queue=("${queue[@]:1}")
        for name in $(imports "$file"); do
            [ -n "${seen[$name]:-}" ] || [ ! -e "$prefix/bin/$name" ] && continue
            seen[$name]=1
            queue+=("$prefix/bin/$name")
            echo "$name"
        done
    done
}

# Windows's own DLLs that the programs and libraries may load; anything else
# must ship in the zip. The C++ and GCC run-times and winpthreads never do.
system_dll() {
    grep -qixE '(kernel32|user32|gdi32|winmm|advapi32|shell32|msvcrt|ole32|oleaut32|imm32|version|ws2_32|dxguid)\.dll' <<<"$1"
}

check_imports() {
    local stage=$1 file name status=0
    for file in "$stage"/*.exe "$stage"/*.dll; do
        for name in $(imports "$file"); do
            system_dll "$name" || [ -e "$stage/$name" ] && continue
            echo "windows.sh: $(basename "$file") needs $name, which is not shipped" >&2
            status=1
        done
    done
    return $status
}

# The zip's folder: the programs, their DLLs, the demo ready to play beside
# velmora.exe, and the licences of everything linked in.
stage_zip() {
    local stage=$1
    rm -rf "$stage" && mkdir -p "$stage/licenses" || return 1
    for file in $programs; do cp "$build/$file" "$stage/" || return 1; done
    for name in $(shipped_dlls); do cp "$prefix/bin/$name" "$stage/" || return 1; done
    $host-strip "$stage"/*.exe "$stage"/*.dll || return 1
    cp -r demo/data "$stage/data" && cp demo/velmora.settings "$stage/" || return 1
    rm -f "$stage/data/velmora.log"
    cp -r "$prefix/licenses/." "$stage/licenses/" || return 1
    mkdir -p "$stage/licenses/gcc-runtime" "$stage/licenses/mingw-w64" &&
        cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/gcc-runtime/" &&
        cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenses/mingw-w64/"
}

# Files in a fixed order with one fixed time: the same inputs make the same zip.
make_zip() {
    local stage=$build/zip/velmora-windows-x64
    stage_zip "$stage" && check_imports "$stage" || return 1
    mkdir -p "$(dirname "$zip")" && rm -f "$zip" || return 1
    (cd "$build/zip" && find velmora-windows-x64 -type f | LC_ALL=C sort >files.txt &&
        cmake -E tar cf "$zip" --format=zip --mtime="2000-01-01 00:00:00 UTC" \
            --files-from=files.txt) || return 1
    say "$zip: $(stat -c %s "$zip") bytes, $(wc -l <"$build/zip/files.txt") files"
}

deps || fail "the libraries did not build"
if [ "${1:-}" = deps ]; then
    echo "$prefix"
    exit 0
fi
timed "the programs" build_programs
make_zip || fail "the zip was not made"
