#!/usr/bin/env bash
# npm-ci.sh SOURCE_DIR DEST_DIR: installs the Node packages of SOURCE_DIR's
# committed lockfile into DEST_DIR/node_modules (in a build folder, so that
# parallel builds and the source tree stay apart). Skipped when DEST_DIR
# already holds that very lockfile's packages. Install scripts are not run:
# none of the packages needs one, and nothing may be fetched beyond npm's
# registry.
set -euo pipefail
source_dir=$1
dest_dir=$2
mkdir -p "$dest_dir"
if [ -d "$dest_dir/node_modules" ] && cmp -s "$source_dir/package-lock.json" "$dest_dir/package-lock.json" &&
    cmp -s "$source_dir/package.json" "$dest_dir/package.json"; then
    exit 0
fi
cp "$source_dir/package.json" "$source_dir/package-lock.json" "$dest_dir/"
cd "$dest_dir"
npm ci --ignore-scripts --omit=optional --no-audit --no-fund --loglevel=error
