#!/usr/bin/env bash
# Runs one Windows program under Wine: the test harness's emulator for CTest.
# Inside a harness (scripts/test.sh) the prefix, Xvfb and wineserver are already up;
# run on its own it brings them up and stops them again.
set -u
. "$(dirname "$0")/wine-env.sh"
own=0
if [ -z "${MORVEL_HARNESS:-}" ]; then
    own=1
    morvel_wine_start || exit 1
    trap morvel_wine_stop EXIT
fi
"$MORVEL_WINE" "$@"
rc=$?
exit $rc
