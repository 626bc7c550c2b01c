#!/usr/bin/env bash
# Builds Velmora for 64-bit Windows on this Debian machine: the game's
# libraries from Debian's own source packages (scripts/windows-deps.sh, cached
# outside the clone), the programs and unit tests in build-windows/, and
# dist/velmora-windows-x64.zip.
#
#   scripts/windows.sh
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/packages.sh
ensure_packages $WINDOWS_PACKAGES || exit 1

host=x86_64-w64-mingw32
jobs=${VELMORA_JOBS:-$(nproc)}
toolchain=$root/cmake/mingw-w64-x86_64.cmake

say() { echo "windows.sh: $*"; }
fail() { echo "windows.sh: $*" >&2; exit 1; }

timed() {  # timed <name> <command...>
    local start=$SECONDS
    "${@:2}" || fail "building $1 failed"
    say "$1 built in $((SECONDS - start)) s"
}

# --- The programs and the zip -----------------------------------------------

build=$root/build-windows
zip=$root/dist/velmora-windows-x64.zip
programs="velmora.exe velmora-check.exe velmora-storyboard.exe velmora-lsp.exe"

# Strict: a missing test dependency (GoogleTest) fails the build.
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
    # A fixed time in the PE headers that strip writes anew.
    SOURCE_DATE_EPOCH=946684800 $host-strip "$stage"/*.exe "$stage"/*.dll || return 1
    cp -r demo/data "$stage/data" && cp demo/velmora.settings "$stage/" || return 1
    rm -f "$stage/data/velmora.log"
    cp -r "$prefix/licenses/." "$stage/licenses/" || return 1
    mkdir -p "$stage/licenses/gcc-runtime" "$stage/licenses/mingw-w64" &&
        cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/gcc-runtime/" &&
        cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenses/mingw-w64/"
}

# Files in a fixed order with one fixed time and no other attributes (zip
# -X): the same inputs make the same zip.
make_zip() {
    local stage=$build/zip/velmora-windows-x64
    stage_zip "$stage" && check_imports "$stage" || return 1
    mkdir -p "$(dirname "$zip")" && rm -f "$zip" || return 1
    find "$stage" -exec touch -h -d '2000-01-01 00:00:00 UTC' {} + &&
        (cd "$build/zip" && find velmora-windows-x64 -type f | LC_ALL=C sort >files.txt &&
            TZ=UTC zip -q -X -D -9 "$zip" -@ <files.txt) || return 1
    say "$zip: $(stat -c %s "$zip") bytes, $(wc -l <"$build/zip/files.txt") files"
}

prefix=$(scripts/windows-deps.sh) || fail "the libraries did not build"
timed "the programs" build_programs
make_zip || fail "the zip was not made"
