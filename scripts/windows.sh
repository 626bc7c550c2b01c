#!/usr/bin/env bash
# Builds Velmora for 64-bit Windows on this Debian machine: the game's
# libraries from Debian's own source packages (scripts/windows-deps.sh, cached
# outside the clone), the programs and unit tests in build-windows/, and the
# Windows runtime that velmora-pack makes packages from, in
# build-windows/runtime/: velmora.exe, the language server velmora-lsp.exe,
# the DLLs they load and licenses/.
#
#   scripts/windows.sh
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/lib.sh
source scripts/packages.sh
ensure_packages $WINDOWS_PACKAGES || exit 1

host=x86_64-w64-mingw32
toolchain=$root/cmake/mingw-w64-x86_64.cmake
build=$root/build-windows
programs="velmora.exe velmora-lsp.exe"

# Strict: a missing test dependency (GoogleTest) fails the build.
build_programs() {
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DVELMORA_WINDOWS_DEPS="$prefix" -DCMAKE_BUILD_TYPE=Release -DVELMORA_STRICT=ON \
        -DVELMORA_BENCHMARKS=OFF >/dev/null && cmake --build "$build" -j "$velmora_jobs"
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
            say "$(basename "$file") needs $name, which is not shipped"
            status=1
        done
    done
    return $status
}

# The runtime: the game program, its DLLs and the licences of everything
# linked in; velmora-pack adds a game to it.
stage_runtime() {
    local stage=$1
    rm -rf "$stage" && mkdir -p "$stage/licenses" || return 1
    for file in $programs; do cp "$build/$file" "$stage/" || return 1; done
    for name in $(shipped_dlls); do cp "$prefix/bin/$name" "$stage/" || return 1; done
    # A fixed time in the PE headers that strip writes anew.
    SOURCE_DATE_EPOCH=946684800 $host-strip "$stage"/*.exe "$stage"/*.dll || return 1
    cp -r "$prefix/licenses/." "$stage/licenses/" || return 1
    mkdir -p "$stage/licenses/gcc-runtime" "$stage/licenses/mingw-w64" &&
        cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/gcc-runtime/" &&
        cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenses/mingw-w64/" &&
        check_imports "$stage"
}

prefix=$(scripts/windows-deps.sh) || fail "the libraries did not build"
timed "the programs" build_programs || exit 1
stage_runtime "$build/runtime" || fail "the runtime was not made"
say "runtime in $build/runtime: $(ls "$build/runtime" | wc -l) files and folders"
