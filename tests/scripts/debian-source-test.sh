#!/usr/bin/env bash
# scripts/debian-source.sh when the archive cannot be reached: the package
# lists of an earlier run serve, and without any the failure is reported. And
# the licence texts kept of a source: its copyright file, the upstream ones.
set -uo pipefail
export VELMORA_CACHE=$(mktemp -d)
trap 'rm -rf "$VELMORA_CACHE"' EXIT
source "$(dirname "$0")/../../scripts/debian-source.sh"
# apt as it answers offline: update fails, the rest reads the lists.
debian_apt() { [ "$2" != update ] && echo "Version: 1.2.15+dfsg-1"; [ "$2" != update ]; }

failures=0
fail_check() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

debian_source_update 2>/dev/null && fail_check "an update without lists succeeded"
touch "$debian_apt_dir/lists/deb.debian.org_debian_dists_bookworm_main_source_Sources"
debian_source_update 2>"$VELMORA_CACHE/err" || fail_check "the lists of an earlier run were not used"
grep -q "earlier run" "$VELMORA_CACHE/err" || fail_check "no word that the lists may be old"
[ "$(debian_source_version libsdl1.2)" = 1.2.15+dfsg-1 ] || fail_check "no version from the lists"

source=$VELMORA_CACHE/libdemo-1.0
mkdir -p "$source/debian" "$source/docs" "$source/src"
for file in debian/copyright COPYING LICENSE.md docs/FTL.TXT docs/README src/COPYING; do
    echo "$file" >"$source/$file"
done
prefix=$VELMORA_CACHE/prefix
keep_licenses libdemo "$source" || fail_check "keep_licenses failed"
kept=$(cd "$prefix/licenses/libdemo" && LC_ALL=C ls | tr '\n' ' ')
[ "$kept" = "COPYING FTL.TXT LICENSE.md copyright " ] || fail_check "licences kept: $kept"
[ "$(cat "$prefix/licenses/libdemo/copyright")" = debian/copyright ] ||
    fail_check "not Debian's copyright file"
rm "$source/debian/copyright"
keep_licenses libother "$source" 2>/dev/null && fail_check "a source without a copyright file passed"
[ "$failures" -eq 0 ]
