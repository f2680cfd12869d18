#!/usr/bin/env bash
# Installs what is missing, builds, and starts vantu.exe under Wine on the bundled
# default engine file. Uses $DISPLAY, or starts an Xvfb when there is none.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh || exit 1
bash scripts/build.sh --no-x86 || exit 1
. scripts/wine-env.sh
if [ -z "${DISPLAY:-}" ]; then
    echo "No DISPLAY: starting an Xvfb (see the README for taking a screenshot)." >&2
fi
trap morvel_wine_stop EXIT
trap "exit 130" INT TERM
morvel_wine_start || exit 1
echo "vantu.exe is running on DISPLAY=$DISPLAY; close it (終了) to end." >&2
"$MORVEL_WINE" "$root/build/dist/vantu.exe"
