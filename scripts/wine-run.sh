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
    trap "exit 130" INT TERM
fi
"$MORVEL_WINE" "$@"
rc=$?
if [ "$own" = 0 ]; then
    # End the session: whatever the program left running goes with it.
    "$MORVEL_WINESERVER" -k >/dev/null 2>&1 || true
    "$MORVEL_WINESERVER" -w >/dev/null 2>&1 || true
fi
exit $rc
