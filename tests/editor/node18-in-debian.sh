#!/usr/bin/env bash
# The editor tests' Node packages and the VS Code extension's package, made
# with stock Debian 12's own Node.js (18) and npm (9) in a minimal Debian
# under chroot: the packages install from the committed lockfiles, the
# grammar test passes, and scripts/vsix.sh writes the .vsix and prints only
# its path. The Debian is made once (scripts/minimal-debian.sh).
#
#   node18-in-debian.sh <source folder>
set -uo pipefail
source_dir=$(realpath "$1")
fail() { echo "FAIL: $*" >&2; exit 1; }

root=$("$source_dir/scripts/minimal-debian.sh" nodejs npm ca-certificates) ||
    fail "the minimal Debian was not made"

mounted=()
unmount_all() {
    for point in "${mounted[@]}"; do umount "$point"; done
    mounted=()
}
# /proc and /dev as every system has them, and the host's name service.
mount_into() {  # mount_into <system folder>
    local point
    for point in proc dev; do
        mount --bind "/$point" "$1/$point" && mounted+=("$1/$point") || return 1
    done
    cp /etc/resolv.conf "$1/etc/resolv.conf"
}

work=$(mktemp -d -p "$root/tmp" editor.XXXXXX)
trap 'unmount_all; rm -rf "$work"' EXIT
mount_into "$root" || fail "cannot mount /proc and /dev in the minimal Debian"

# What the packaging and the grammar test read, as in the clone.
mkdir -p "$work/src/core" "$work/src/editors" "$work/src/tests" &&
    cp -r "$source_dir/scripts" "$work/src/" &&
    cp "$source_dir/core/Version.h" "$work/src/core/" &&
    (cd "$source_dir" && tar --exclude=node_modules -cf - editors/vscode tests/editor) |
    (cd "$work/src" && tar -xf -) || fail "cannot copy the sources in"
inside=/${work#"$root"/}
# A machine whose way out re-signs TLS names its authority for Node.js; the
# same one serves inside.
extra_ca=()
if [ -n "${NODE_EXTRA_CA_CERTS:-}" ] && [ -f "$NODE_EXTRA_CA_CERTS" ]; then
    cp "$NODE_EXTRA_CA_CERTS" "$work/extra-ca.crt" && extra_ca=(NODE_EXTRA_CA_CERTS="$inside/extra-ca.crt")
fi
in_debian() { chroot "$root" env HOME="$inside" PATH=/usr/bin:/bin "${extra_ca[@]}" "$@"; }

node=$(in_debian node --version) && npm=$(in_debian npm --version) || fail "no Node.js inside"
echo "Debian's own Node.js $node, npm $npm"
[[ $node == v18.* ]] || fail "expected Debian 12's Node.js 18, found $node"

in_debian "$inside/src/scripts/npm-ci.sh" "$inside/src/tests/editor" "$inside/node" >&2 ||
    fail "the editor tests' packages did not install"
in_debian node "$inside/node/node_modules/vscode-tmgrammar-test/dist/unit.js" --compact \
    --config "$inside/src/editors/vscode/package.json" "$inside/src/tests/editor/grammar/*.txt" >&2 ||
    fail "the grammar test failed"

version=$(sed -n 's/.*kVelmoraVersion\[\] = "\(.*\)";/\1/p' "$source_dir/core/Version.h")
printed=$(in_debian "$inside/src/scripts/vsix.sh" "$inside/build") ||
    fail "scripts/vsix.sh failed"
[ "$printed" = "$inside/build/velmora-$version.vsix" ] ||
    fail "scripts/vsix.sh printed more than the package's path: $printed"
[ -s "$root$printed" ] || fail "no package at $printed"
echo "packaged $(basename "$printed"), $(stat -c %s "$root$printed") bytes"
