#!/usr/bin/env bash
# Benchmark of the browser integration: Chromium's start to the extension's worker, then the
# round trip of sendNativeMessage through the Wine host to the running vantu.exe (the first,
# which starts vantu.exe, apart; then N warm ones). Prints one JSON line.
# Usage: tools/bench/browser_roundtrip.sh [N]   (after scripts/build.sh)
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
export MORVEL_FORCE_XVFB=${MORVEL_FORCE_XVFB:-1} MORVEL_DESKTOP=${MORVEL_DESKTOP:-1280x800}
export MORVEL_WORK=${MORVEL_WORK:-${MORVEL_BUILD_DIR:-$root/build}/x64/browser-bench}
exec bash "$root/tests/browser/run.sh" chromium --bench "${1:-20}"
