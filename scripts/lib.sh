# Sourced by the scripts: their logging, timing and cache.
#
# Logging: say and fail write "<script>: <message>" to standard error, so
# that standard output carries only what a script prints as its result.
#
# The cache: everything built once and kept outside the clone lies in
#   ${VELMORA_CACHE:-~/.cache/velmora}/<what>/<key>/
# where the key is a hash of the inputs that make it (the functions that
# build it, source and toolchain versions) and nothing else, so that it
# changes only when the result would. A folder is built in place, with the
# paths it will keep, and marked whole by a file .complete in it; one
# without is built afresh.

velmora_cache=${VELMORA_CACHE:-$HOME/.cache/velmora}
velmora_jobs=${VELMORA_JOBS:-$(nproc)}

# One compiler cache for every build tree of every clone, which the build
# takes when ccache is installed: a fresh clone compiles only what no build
# before it compiled. Paths inside the clone count from the clone, so that
# clones in other folders share it.
export CCACHE_DIR=${CCACHE_DIR:-$velmora_cache/ccache}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export CCACHE_NOHASHDIR=1 CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-12G}

say() { echo "$(basename "$0" .sh): $*" >&2; }
fail() {
    say "$*"
    exit 1
}

# timed <name> <command...>: runs it and says how long it took.
timed() {
    local start=$SECONDS status
    "${@:2}"
    status=$?
    if [ $status -eq 0 ]; then say "$1 in $((SECONDS - start)) s"; else say "$1 failed"; fi
    return $status
}

# The key of what standard input lists, one input a line.
cache_key() { sha256sum | cut -c1-16; }

# The bodies of shell functions, as inputs of a key: a change to a comment
# elsewhere in a script does not rebuild.
function_inputs() { declare -f "$@"; }

# The installed version of each Debian package, as inputs of a key.
package_inputs() {
    local package
    for package in "$@"; do
        echo "$package $(dpkg-query -W -f='${Version}' "$package" 2>/dev/null)"
    done
}

# cached <what> <key> <builder>: prints the cache folder of <what> with <key>,
# after calling <builder> <folder> <scratch> to fill it when it is not there
# yet. The builder writes into the folder it is given and keeps its working
# files in the scratch folder, removed afterwards. Runs at the same time (two
# clones, or ./test.sh beside a script) wait for each other's build.
cached() {
    local folder=$velmora_cache/$1/$2
    mkdir -p "$velmora_cache/$1" || return 1
    (
        flock 9 || exit 1
        if [ -e "$folder/.complete" ]; then
            say "$1 from the cache: $folder"
        else
            start=$SECONDS
            say "building $1 into $folder"
            rm -rf "$folder" "$folder.work" && mkdir -p "$folder" "$folder.work" || exit 1
            if ! "$3" "$folder" "$folder.work"; then
                say "$1 did not build"
                rm -rf "$folder"
                exit 1
            fi
            rm -rf "$folder.work" && touch "$folder/.complete" || exit 1
            say "$1 built in $((SECONDS - start)) s"
        fi
        echo "$folder"
    ) 9>"$folder.lock"
}
