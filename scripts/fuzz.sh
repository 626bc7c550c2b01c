#!/usr/bin/env bash
# Fuzz campaigns. Builds the fuzz tree (build-fuzz: clang with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer), then runs one target, or
# every target in turn, for SECONDS each (default 600). An input that takes
# more than 3 s or 1.5 GB is a finding like a crash; findings are kept in
# build-fuzz/findings/<target>/. New inputs join fuzz/corpus/<target>/ only
# where they add coverage. Each campaign adds a line to
# build-fuzz/campaigns.tsv, whose totals per target are printed at the end.
#
#   scripts/fuzz.sh [TARGET|all] [SECONDS]
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages $BUILD_PACKAGES $FUZZ_PACKAGES || exit 1

target=${1:-all}
seconds=${2:-600}
tree=build-fuzz
limits=(-rss_limit_mb=1536 -timeout=3)
# Slow inputs (a script that builds a 16 MiB string) get less of the time.
schedule=(-entropic_scale_per_exec_time=1)

CC=clang-14 CXX=clang++-14 cmake -S . -B "$tree" -G Ninja -DVELMORA_FUZZ=ON -DVELMORA_TESTS=OFF \
    -DVELMORA_BENCHMARKS=OFF >/dev/null &&
    cmake --build "$tree" || exit 1

# stat <log> <name>: a number from libFuzzer's final statistics.
stat() {
    sed -nE "s/^stat::$2: *([0-9]+)/\1/p" "$1" | tail -1
}

campaign() {  # campaign <target>
    # Absolute paths: the targets play each input in a scratch directory.
    local name=$1 binary=$tree/fuzz/$1 work=$PWD/$tree/campaign/$1 findings=$PWD/$tree/findings/$1
    local log=$tree/campaign/$1.log dict=()
    mkdir -p "$work" "$findings"
    [ -f "fuzz/$name.dict" ] && dict=(-dict="$PWD/fuzz/$name.dict")
    echo "=== $name: $seconds s ==="
    local start=$SECONDS
    "$binary" "$work" "$PWD/fuzz/corpus/$name" "${limits[@]}" "${schedule[@]}" "${dict[@]}" \
        -max_total_time="$seconds" \
        -artifact_prefix="$findings/" -print_final_stats=1 2>"$log"
    local status=$? elapsed=$((SECONDS - start))
    "$binary" -merge=1 "${limits[@]}" "$PWD/fuzz/corpus/$name" "$work" 2>>"$log" ||
        echo "$name: merging into the corpus failed (see $log)"
    local runs found
    runs=$(stat "$log" number_of_executed_units)
    found=$(find "$findings" -type f | wc -l)
    printf '%s\t%s\t%s\t%s\n' "$name" "${runs:-0}" "$elapsed" "$found" >>"$tree/campaigns.tsv"
    echo "$name: ${runs:-0} executions, exit status $status, $found findings in $findings"
}

if [ "$target" = all ]; then
    targets=$(find "$tree/fuzz" -maxdepth 1 -name 'fuzz_*' -type f -executable -printf '%f\n' | sort)
else
    targets=$target
fi
for name in $targets; do
    [ -x "$tree/fuzz/$name" ] || { echo "no fuzz target $name" >&2; exit 1; }
    campaign "$name"
done

echo "=== All campaigns so far (target, executions, seconds, findings now) ==="
awk -F'\t' '{ runs[$1] += $2; time[$1] += $3; found[$1] = $4 }
    END { for (t in runs) printf "%-14s %12d %8d %4d\n", t, runs[t], time[t], found[t] }' \
    "$tree/campaigns.tsv" | sort
