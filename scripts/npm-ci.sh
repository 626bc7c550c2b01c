#!/usr/bin/env bash
# npm-ci.sh SOURCE_DIR DEST_DIR: installs the Node packages of SOURCE_DIR's
# committed lockfile into DEST_DIR/node_modules (in a build folder, so that
# parallel builds and the source tree stay apart). Skipped when DEST_DIR
# already holds that very lockfile's packages. Install scripts are not run:
# none of the packages needs one, and nothing may be fetched beyond npm's
# registry.
set -euo pipefail
source_dir=$1
dest_dir=$(mkdir -p "$2" && cd "$2" && pwd)
# The stamp is the lockfile the packages came from (package.json in DEST_DIR
# may be changed by its user, as scripts/vsix.sh sets the version).
stamp=$dest_dir/node_modules/.velmora-lockfile
if [ -f "$stamp" ] && cmp -s "$source_dir/package-lock.json" "$stamp"; then
    exit 0
fi
cp "$source_dir/package.json" "$source_dir/package-lock.json" "$dest_dir/"
cd "$dest_dir"
npm ci --ignore-scripts --omit=optional --no-audit --no-fund --loglevel=error
cp package-lock.json "$stamp"
