#!/usr/bin/env bash
# Runs one Windows program under Wine: the test harness's emulator for CTest.
# Inside a harness (scripts/test.sh) the prefix and Xvfb are already up, and the Wine session
# is ended after the program (also when CTest stops it at its time limit), so that nothing
# it left running reaches the next test. Run on its own it brings up and stops everything.
set -u
. "$(dirname "$0")/wine-env.sh"
end_session() {
    "$MORVEL_WINESERVER" -k >/dev/null 2>&1 || true
    "$MORVEL_WINESERVER" -w >/dev/null 2>&1 || true
}
# Tests run in the virtual desktop however they are started (MORVEL_DESKTOP=off: normal windows).
export MORVEL_DESKTOP=${MORVEL_DESKTOP:-1280x800}
if [ -z "${MORVEL_HARNESS:-}" ]; then
    morvel_wine_start || exit 1
    trap morvel_wine_stop EXIT
else
    morvel_set_desktop
    trap end_session EXIT
fi
trap "exit 130" INT TERM
"$MORVEL_WINE" "$@" &
child=$!
wait $child
rc=$?
exit $rc
