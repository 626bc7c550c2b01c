#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, as a list of named
# stages; each names the stages whose results it needs.
#
#   ./test.sh                 every stage, in order
#   ./test.sh STAGE...        those stages, after the stages they need
#   ./test.sh --only STAGE... those stages alone (what they need is there)
#   ./test.sh --list          the stages, what each needs and does
#
# At the end it prints each stage's time and result, and last a line
# "N passed, N failed": the tests of every ctest run, with each stage that
# failed without running tests (a build) counted as one failure. The exit
# status is 0 only when nothing failed.
set -uo pipefail
cd "$(dirname "$0")"
source scripts/lib.sh

jobs=$velmora_jobs
stages=()
declare -A needs=() what=() command=() own_labels=()

# stage <name> <needs> <what> <command...>: one stage; needs is a list of
# stage names separated by spaces.
stage() {
    stages+=("$1")
    needs[$1]=$2
    what[$1]=$3
    command[$1]=$(printf '%q ' "${@:4}")
}

# label_stage <name> <needs> <what> <build tree> <label>: a stage that runs
# the tests of one label in a build tree; that tree's suite stage (below)
# leaves them to it.
label_stage() {
    stage "$1" "$2" "$3" ctest_run "$4" -L "^($5)\$"
    own_labels[$4]+="${own_labels[$4]:+|}$5"
}

# A build tree's whole suite, less the labels that stages of their own run.
suite() {  # suite <build tree> <ctest options...>
    local tree=$1 own=${own_labels[$1]:-}
    shift
    ctest_run "$tree" ${own:+-LE "^($own)\$"} "$@"
}

# --- What stages do ----------------------------------------------------------

install_packages() {
    source scripts/packages.sh
    # Wine among them: the Windows end-to-end tests are configured in the plain build.
    ensure_packages $BUILD_PACKAGES $TEST_PACKAGES $FUZZ_PACKAGES $WINDOWS_PACKAGES \
        $RUNTIME_PACKAGES $PACK_PACKAGES $EDITOR_PACKAGES $WEB_PACKAGES $VSCODE_PACKAGES &&
        ensure_node
}

# Every test dependency is required: a missing one fails the build rather
# than leaving its tests out.
build_tree() {  # build_tree <dir> <cmake options...>
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DVELMORA_STRICT=ON "$@" >/dev/null &&
        cmake --build "$dir" -j "$jobs"
}

tests_passed=0
tests_failed=0

# ctest_run <build tree> <ctest options...>: adds its counts to the totals.
ctest_run() {
    local tree=$1 output status counts
    shift
    output=$(mktemp)
    ctest --test-dir "$tree" -j "$jobs" --output-on-failure --no-tests=error "$@" | tee "$output"
    status=${PIPESTATUS[0]}
    # "NN% tests passed, F tests failed out of T"
    counts=$(sed -nE 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+)$/\1 \2/p' \
        "$output" | tail -n 1)
    rm -f "$output"
    if [ -n "$counts" ]; then
        set -- $counts
        tests_failed=$((tests_failed + $1))
        tests_passed=$((tests_passed + $2 - $1))
    fi
    return "$status"
}

sanitizer_tree() {  # sanitizer_tree <dir> <sanitizers>
    build_tree "$1" -DVELMORA_SANITIZE="$2"
}

fuzz_tree() {
    CC=clang-14 CXX=clang++-14 build_tree build-fuzz -DVELMORA_FUZZ=ON -DVELMORA_TESTS=OFF \
        -DVELMORA_BENCHMARKS=OFF
}

# The plain build; its end-to-end tests run once more on sdl12-compat.
plain_tree() {
    scripts/sdl12-compat.sh build/sdl12-compat &&
        build_tree build -DVELMORA_SDL12_COMPAT="$PWD/build/sdl12-compat"
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# tests/tsan.supp: the races ThreadSanitizer sees inside the map layout's font libraries.
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp

# --- The stages, in the order they run ---------------------------------------
# A new stage is one line here: a label of its own in the plain build is
#   label_stage web "build" "the web package, played in Chromium" build web

stage packages "" "installs the Debian packages and Node.js that are missing" install_packages
stage asan packages "builds build-asan/ (AddressSanitizer + UBSan) and runs every test there" \
    eval 'sanitizer_tree build-asan address,undefined && suite build-asan'
stage fuzz packages "builds build-fuzz/ (clang, libFuzzer) and replays every corpus (label fuzz)" \
    eval 'fuzz_tree && ctest_run build-fuzz -L "^fuzz\$"'
stage tsan packages "builds build-tsan/ (ThreadSanitizer); labels threaded and e2e there" \
    eval 'sanitizer_tree build-tsan thread && ctest_run build-tsan -L "^(threaded|e2e)\$"'
stage windows packages \
    "scripts/windows.sh: the Windows libraries (cached), build-windows/, its runtime" scripts/windows.sh
stage wine-unit windows "the unit tests of build-windows/ as Windows programs under Wine" \
    ctest_run build-windows -L "^wine-unit\$"
stage web packages "scripts/web.sh: the web libraries (cached) and build-web/, with emscripten" \
    scripts/web.sh
stage runtimes "windows web" "scripts/runtimes.sh: build/runtimes/, what velmora-pack packs" \
    scripts/runtimes.sh
stage build packages "builds build/ (plain, with sdl12-compat fetched into build/sdl12-compat/)" \
    plain_tree
stage plain build "every test of build/ that no stage below runs (e2e also on sdl12-compat)" \
    suite build
label_stage pack "build runtimes" "velmora-pack's tests, the Linux package in a minimal Debian" \
    build pack
label_stage wine-e2e "build runtimes" \
    "the demo's Windows zip from velmora-pack under Wine, against the Linux build" build wine-e2e
label_stage web-play "build runtimes" \
    "the demo's web zip from velmora-pack in headless Chromium, against the Linux build" build web
label_stage vscode build "the VS Code extension in a real VS Code (code-server, cached)" build vscode
label_stage stock-debian build \
    "the editor's packages made with Debian 12's own Node.js 18, in a minimal Debian" build \
    stock-debian

# --- Running them ------------------------------------------------------------

list_stages() {
    local name
    printf '%-13s %-16s %s\n' STAGE NEEDS WHAT
    for name in "${stages[@]}"; do
        printf '%-13s %-16s %s\n' "$name" "${needs[$name]:--}" "${what[$name]}"
    done
}

declare -A wanted=() result=() seconds=()

want() {  # want <stage>: it and, unless --only, what it needs
    local need
    [ -n "${command[$1]:-}" ] || fail "no stage $1 (./test.sh --list shows them)"
    wanted[$1]=1
    [ -n "$only" ] && return 0
    for need in ${needs[$1]}; do want "$need"; done
}

run_stage() {  # run_stage <stage>
    local name=$1 need start before=$tests_failed
    for need in ${needs[$name]}; do
        if [ "${result[$need]:-}" = failed ] || [ "${result[$need]:-}" = "not run" ]; then
            result[$name]="not run"
            echo "=== $name: not run, $need failed ==="
            return
        fi
    done
    echo "=== $name: ${what[$name]} ==="
    start=$SECONDS
    if eval "${command[$name]}"; then
        result[$name]=passed
    else
        result[$name]=failed
        # A build or script that failed counts as one failure.
        [ "$tests_failed" -gt "$before" ] || tests_failed=$((tests_failed + 1))
    fi
    seconds[$name]=$((SECONDS - start))
}

only=""
case ${1:-} in
--list) list_stages; exit 0 ;;
--only) only=1; shift ;;
-*) sed -n '2,13p' "$0" >&2; exit 2 ;;
esac
if [ $# -eq 0 ]; then
    for name in "${stages[@]}"; do wanted[$name]=1; done
else
    for name in "$@"; do want "$name"; done
fi

for name in "${stages[@]}"; do
    [ -n "${wanted[$name]:-}" ] && run_stage "$name"
done

echo "=== Stages ==="
failed_stages=0
for name in "${stages[@]}"; do
    [ -n "${wanted[$name]:-}" ] || continue
    printf '%-13s %-8s %6s s\n' "$name" "${result[$name]}" "${seconds[$name]:--}"
    [ "${result[$name]}" = passed ] || failed_stages=$((failed_stages + 1))
done
echo "$tests_passed passed, $tests_failed failed"
[ "$failed_stages" -eq 0 ]
