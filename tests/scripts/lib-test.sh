#!/usr/bin/env bash
# The cache of scripts/lib.sh: a folder is built once per key, a failed
# build leaves nothing that a later run would take for whole, and a key
# follows the bodies of the functions that build, not the comments around
# them.
set -uo pipefail
export VELMORA_CACHE=$(mktemp -d)
trap 'rm -rf "$VELMORA_CACHE"' EXIT
source "$(dirname "$0")/../../scripts/lib.sh"
failures=0
check() {  # check <what> <command...>
    "${@:2}" || { echo "FAIL: $1" >&2; failures=$((failures + 1)); }
}

runs=$VELMORA_CACHE/runs
make_thing() {  # the builder: counts its runs, writes into the folder given
    echo run >>"$runs"
    echo made >"$1/thing" && [ -d "$2" ]
}
first=$(cached thing key1 make_thing 2>/dev/null)
second=$(cached thing key1 make_thing 2>/dev/null)
check "the folder is <cache>/<what>/<key>" [ "$first" = "$VELMORA_CACHE/thing/key1" ]
check "a second run takes it from the cache" [ "$second" = "$first" ]
check "the builder runs once per key" [ "$(wc -l <"$runs")" -eq 1 ]
check "what the builder wrote is there" [ "$(cat "$first/thing")" = made ]
check "no working folder is left" [ ! -e "$first.work" ]

broken() { echo half >"$1/thing"; return 1; }
cached thing key2 broken >/dev/null 2>&1
check "a failed build fails" [ $? -ne 0 ]
check "and leaves no folder under its key" [ ! -e "$VELMORA_CACHE/thing/key2" ]
check "a later run builds it afresh" [ -n "$(cached thing key2 make_thing 2>/dev/null)" ]
check "whole this time" [ -e "$VELMORA_CACHE/thing/key2/.complete" ]

key_of() { function_inputs make_thing | cache_key; }
before=$(key_of)
# A comment added before the function is not one of its inputs.
eval "$(printf '%s\n' '# a remark' "$(declare -f make_thing)")"
check "a comment does not change the key" [ "$(key_of)" = "$before" ]
eval "$(declare -f make_thing | sed 's/echo made/echo remade/')"
check "a changed body changes the key" [ "$(key_of)" != "$before" ]
check "a key is 16 hex digits" grep -qxE '[0-9a-f]{16}' <<<"$before"

echo "$failures failures"
[ "$failures" -eq 0 ]
