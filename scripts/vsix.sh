#!/usr/bin/env bash
# vsix.sh [BUILD_DIR]: packages the VS Code extension of editors/vscode as
# BUILD_DIR/velmora-VERSION.vsix (default BUILD_DIR: build), with the version
# of every Velmora program (core/Version.h). `cmake --install` then puts it
# under share/velmora/. Needs Node.js 18 or later (Debian 12's own) and npm.
# Only the package's path goes to standard output; npm's messages go to
# standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)
version=$(sed -n 's/.*kVelmoraVersion\[\] = "\(.*\)";/\1/p' "$root/core/Version.h")
[ -n "$version" ] || { echo "vsix.sh: no version in core/Version.h" >&2; exit 1; }

stage=$build_dir/vsix-stage
# The packages first (kept between runs), then a fresh copy of the sources.
"$root/scripts/npm-ci.sh" "$root/editors/vscode" "$stage" >&2
find "$stage" -mindepth 1 -maxdepth 1 ! -name node_modules ! -name package-lock.json -exec rm -rf {} +
(cd "$root/editors/vscode" && tar --exclude=node_modules -cf - .) | (cd "$stage" && tar -xf -)
cd "$stage"
npm pkg set version="$version" >&2
out=$build_dir/velmora-$version.vsix
node_modules/.bin/vsce package --skip-license --allow-missing-repository --out "$out" >&2
echo "$out"
