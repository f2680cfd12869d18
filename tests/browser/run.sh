#!/usr/bin/env bash
# Runs a browser end-to-end test under the Wine harness: chromium (chromium_e2e.mjs) or
# firefox (firefox_e2e.mjs). Installs the npm packages when missing, brings up Wine and Xvfb
# unless a harness already did, and ends the Wine session afterwards. Further arguments go to
# the test (Chromium: --menu, --bench N).
# Usage: tests/browser/run.sh chromium|firefox [ARGS...]
# Environment: MORVEL_BUILD_DIR/x64 holds the build (default build/x64).
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
b=${MORVEL_BUILD_DIR:-$root/build}
case "${1:-}" in
    chromium | firefox) browser=$1 ;;
    *) echo "usage: $0 chromium|firefox [ARGS...]" >&2; exit 2 ;;
esac
shift
. "$root/scripts/wine-env.sh"
# The packages drive the system's browsers: nothing is downloaded.
if [ ! -d "$here/node_modules/playwright-core" ] || [ ! -d "$here/node_modules/puppeteer-core" ]; then
    (cd "$here" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 PUPPETEER_SKIP_DOWNLOAD=1 \
        npm ci --no-audit --no-fund --silent) || exit 1
fi
if [ -z "${MORVEL_HARNESS:-}" ]; then
    morvel_wine_start || exit 1
    trap morvel_wine_stop EXIT
else
    # The harness ended the previous test's session: start a server that stays up between the
    # test's short Wine programs. One that ends with the last of them would shut the desktop
    # down just as the browser's host starts the program.
    "$MORVEL_WINESERVER" -p 60 >/dev/null 2>&1 || true
    trap '"$MORVEL_WINESERVER" -k >/dev/null 2>&1; "$MORVEL_WINESERVER" -w >/dev/null 2>&1' EXIT
fi
trap "exit 130" INT TERM
export MORVEL_DIST=${MORVEL_DIST:-$b/x64/dist} MORVEL_HELPERS=${MORVEL_HELPERS:-$b/x64/tests}
export MORVEL_FIREFOX_EXTENSION=${MORVEL_FIREFOX_EXTENSION:-$b/x64/browser/firefox}
export MORVEL_WINE MORVEL_WORK=${MORVEL_WORK:-$b/x64/browser-e2e/$browser}
timeout 150 node "$here/${browser}_e2e.mjs" "$@"
