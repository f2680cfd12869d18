#!/usr/bin/env bash
# Runs the browser end-to-end test (chromium_e2e.mjs) under the Wine harness: installs the
# npm packages when missing, brings up Wine and Xvfb unless a harness already did, and ends
# the Wine session afterwards. Arguments go to the test (--menu, --bench N).
# Environment: MORVEL_BUILD_DIR/x64 holds the build (default build/x64).
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
b=${MORVEL_BUILD_DIR:-$root/build}
. "$root/scripts/wine-env.sh"
if [ ! -d "$here/node_modules/playwright-core" ]; then
    (cd "$here" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --silent) || exit 1
fi
if [ -z "${MORVEL_HARNESS:-}" ]; then
    morvel_wine_start || exit 1
    trap morvel_wine_stop EXIT
else
    trap '"$MORVEL_WINESERVER" -k >/dev/null 2>&1; "$MORVEL_WINESERVER" -w >/dev/null 2>&1' EXIT
fi
trap "exit 130" INT TERM
export MORVEL_DIST=${MORVEL_DIST:-$b/x64/dist} MORVEL_HELPERS=${MORVEL_HELPERS:-$b/x64/tests}
export MORVEL_WINE MORVEL_WORK=${MORVEL_WORK:-$b/x64/browser-e2e}
timeout 150 node "$here/chromium_e2e.mjs" "$@"
