#!/usr/bin/env bash
# Suggestion latency on Wine's virtual desktop: the time from the last keystroke (a letter
# typed with SendInput into the bar's keyword box) to the engine's suggestions on screen,
# against a server on 127.0.0.1 inside the probe; the bar's 100 ms wait after typing is part of
# it. Median of RUNS (default 20).
# Usage: tools/bench/suggest_latency.sh [RUNS]   (MORVEL_BUILD_DIR as for build.sh)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-20}
b=${MORVEL_BUILD_DIR:-$root/build}
work=$(mktemp -d /tmp/morvel-suggest.XXXXXX)
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -O2 -s -static -std=c++17 -I "$root" -o "$work/probe.exe" \
    "$root/tools/bench/suggest_probe.cpp" "$root/tests/support/http_server.cpp" -lws2_32
mkdir -p "$work/prog"
cp "$b/dist/vantu.exe" "$b/dist"/*.sef "$work/prog/"
. "$root/scripts/wine-env.sh"
export MORVEL_FORCE_XVFB=${MORVEL_FORCE_XVFB:-1} MORVEL_DESKTOP=${MORVEL_DESKTOP:-1280x800}
morvel_wine_start
trap 'morvel_wine_stop; rm -rf "$work"' EXIT
"$MORVEL_WINE" "$work/probe.exe" "$(echo "Z:$work/prog" | tr / '\\')" "$runs" 2>/dev/null | tr -d '\r'
