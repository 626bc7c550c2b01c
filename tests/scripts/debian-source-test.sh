#!/usr/bin/env bash
# scripts/debian-source.sh when the archive cannot be reached: the package
# lists of an earlier run serve, and without any the failure is reported.
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
[ "$failures" -eq 0 ]
