#!/usr/bin/env bash
# Installs what is missing, builds, and starts vantu.exe under Wine on the bundled
# default engine file. Uses $DISPLAY, or starts an Xvfb when there is none.
# On an Xvfb the program runs in Wine's virtual desktop (1280x800, with its taskbar and
# tray); on your own display it gets normal windows unless --desktop[=WxH] is given.
set -u
desktop=off
[ -z "${DISPLAY:-}" ] && desktop=1280x800
for a in "$@"; do
    case "$a" in
        --desktop) desktop=1280x800 ;;
        --desktop=*) desktop=${a#--desktop=} ;;
        *) echo "usage: $0 [--desktop[=WxH]]" >&2; exit 2 ;;
    esac
done
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh || exit 1
bash scripts/build.sh --no-x86 || exit 1
. scripts/wine-env.sh
if [ -z "${DISPLAY:-}" ]; then
    echo "No DISPLAY: starting an Xvfb (see the README for taking a screenshot)." >&2
fi
export MORVEL_DESKTOP=$desktop
trap morvel_wine_stop EXIT
trap "exit 130" INT TERM
morvel_wine_start || exit 1
echo "vantu.exe is running on DISPLAY=$DISPLAY; close it (終了) to end." >&2
"$MORVEL_WINE" "$root/build/dist/vantu.exe"
