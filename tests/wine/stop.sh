#!/usr/bin/env bash
# Ends the Wine server of the run's prefix (tests/wine/prepare.sh started it).
#
#   tests/wine/stop.sh <run folder> <wineserver>
export WINEPREFIX=$1/prefix
[ -d "$WINEPREFIX" ] || exit 0
"$2" -k 2>/dev/null
"$2" -w 2>/dev/null
exit 0
