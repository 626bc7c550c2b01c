#!/usr/bin/env bash
# Makes (once, in the cache of scripts/lib.sh as minimal-debian/<key>/) a
# minimal Debian 12 holding the given Debian packages and what they need, and
# nothing of ours: a player's desktop for the packed game, or a stock machine
# with Debian's own Node.js for the editor's packaging. Prints its folder.
#
#   scripts/minimal-debian.sh PACKAGE...
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
source scripts/debian-source.sh
packages="$*"

# debootstrap's --include leaves packages with many small dependencies (npm)
# half configured: the base first, then Debian's own apt inside, from the
# mirror the machine itself installs from.
make_system() {  # make_system <folder> <scratch>
    local log=$2/make.log status
    debootstrap --variant=minbase bookworm "$1" "$(debian_mirror)" >"$log" 2>&1 &&
        mount --bind /proc "$1/proc" && mount --bind /dev "$1/dev" &&
        cp /etc/resolv.conf "$1/etc/resolv.conf" &&
        chroot "$1" env PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
            sh -c "apt-get update -q && apt-get install -y -q --no-install-recommends $packages \
                && apt-get clean" >>"$log" 2>&1
    status=$?
    umount -l "$1/proc" "$1/dev" 2>/dev/null  # detached before any removal of the folder
    [ $status -eq 0 ] || tail -n 20 "$log" >&2
    return $status
}

cached minimal-debian "$( (function_inputs make_system; echo "$packages") | cache_key)" make_system
