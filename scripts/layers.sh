#!/usr/bin/env bash
# The folders of the program depend one way:
#   core -> script, graphics, audio -> shell -> commands -> walk -> app, the
#   tools and the fuzz targets.
# Prints which folder includes headers of which, and fails when one includes
# a folder of its own rank or above.
#
#   scripts/layers.sh [source root]
set -uo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2

declare -A rank=([core]=0 [script]=1 [graphics]=1 [audio]=1 [shell]=2 [commands]=3 [walk]=4
    [app]=5 [tools]=5 [fuzz]=6)
status=0
for folder in core script graphics audio shell commands walk app tools fuzz; do
    [ -d "$folder" ] || continue
    used=$(grep -rhoE '^#include "[a-z]+/' "$folder" --include='*.h' --include='*.cpp' |
        sed -E 's/#include "([a-z]+)\//\1/' | sort -u | grep -vx "$folder" | tr '\n' ' ')
    echo "$folder -> ${used:-(nothing)}"
    for other in $used; do
        if [ -z "${rank[$other]:-}" ] || [ "${rank[$other]}" -ge "${rank[$folder]}" ]; then
            echo "  $folder must not include $other/:" >&2
            grep -rnE "^#include \"$other/" "$folder" --include='*.h' --include='*.cpp' | sed 's/^/    /' >&2
            status=1
        fi
    done
done
exit $status
