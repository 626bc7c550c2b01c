#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: under AddressSanitizer
# and UndefinedBehaviorSanitizer, every fuzz corpus through its target (clang
# with libFuzzer and the same sanitizers), the threaded tests under
# ThreadSanitizer, the Windows build with its unit tests under Wine, and last
# the whole suite in the plain build, the end-to-end tests there once on
# classic SDL 1.2 and once on sdl12-compat, ending with ctest's summary. The
# packages' runtimes are built (scripts/runtimes.sh) before that last build,
# whose suite holds velmora-pack's tests (label pack).
set -uo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
# Wine among them: the Windows end-to-end tests are configured in every build.
ensure_packages $BUILD_PACKAGES $TEST_PACKAGES $FUZZ_PACKAGES $WINDOWS_PACKAGES $RUNTIME_PACKAGES \
    $PACK_PACKAGES $EDITOR_PACKAGES && ensure_node || exit 1

jobs=$(nproc)
failed=()

# Every test dependency is required: a missing one fails the build rather
# than leaving its tests out.
build() {  # build <dir> <cmake options...>
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DVELMORA_STRICT=ON "$@" >/dev/null &&
        cmake --build "$dir" -j "$jobs"
}

run_suite() {  # run_suite <name> <dir> <ctest options...>
    local name=$1 dir=$2
    shift 2
    echo "=== $name ==="
    ctest --test-dir "$dir" -j "$jobs" --output-on-failure "$@" || failed+=("$name")
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

# The Windows end-to-end tests (label windows) need the zip that the Windows
# build makes below; the plain build runs them after it.
if build build-asan -DVELMORA_SANITIZE=address,undefined; then
    run_suite "AddressSanitizer + UndefinedBehaviorSanitizer" build-asan -LE windows
else
    failed+=("sanitizer build")
fi

if CC=clang-14 CXX=clang++-14 build build-fuzz -DVELMORA_FUZZ=ON -DVELMORA_TESTS=OFF \
    -DVELMORA_BENCHMARKS=OFF; then
    run_suite "Fuzz corpora (libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer)" build-fuzz \
        -L fuzz
else
    failed+=("fuzz build")
fi

if build build-tsan -DVELMORA_SANITIZE=thread; then
    run_suite "ThreadSanitizer (threaded and end-to-end tests)" build-tsan -L "threaded|e2e"
else
    failed+=("thread sanitizer build")
fi

# The Windows build (libraries from Debian's sources, cached), its zip, and
# its unit tests as Windows programs under Wine.
echo "=== Windows build ==="
if scripts/windows.sh; then
    run_suite "Windows unit tests under Wine" build-windows -L windows
else
    failed+=("Windows build")
fi

if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed so far: ${failed[*]}"
fi
compat=build/sdl12-compat
if ! scripts/runtimes.sh; then
    failed+=("runtimes")
fi
if ! scripts/sdl12-compat.sh "$compat"; then
    failed+=("sdl12-compat download")
elif build build -DVELMORA_SDL12_COMPAT="$PWD/$compat"; then
    run_suite "All tests" build
else
    failed+=("build")
fi
[ ${#failed[@]} -eq 0 ]
