#!/usr/bin/env bash
# Start-up benchmark: time from process start to a visible search bar that answers a sent
# message, against a minimal dialog program built the same way. Prints the medians and
# their ratio. Usage: tools/bench/startup.sh [RUNS]   (MORVEL_BUILD_DIR as for build.sh)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-15}
b=${MORVEL_BUILD_DIR:-$root/build}
dist=$b/dist
work=$(mktemp -d /tmp/morvel-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
cc=x86_64-w64-mingw32-gcc
rc=x86_64-w64-mingw32-windres
$rc "$root/tools/bench/startup_baseline.rc" -O coff -o "$work/baseline.res"
$cc -O2 -s -static -mwindows -o "$work/baseline.exe" "$root/tools/bench/startup_baseline.c" \
    "$work/baseline.res"
$cc -O2 -s -static -o "$work/probe.exe" "$root/tools/bench/startup_probe.c"
mkdir -p "$work/prog"
cp "$dist/vantu.exe" "$dist"/*.sef "$work/prog/"
printf "${MORVEL_BENCH_INI:-[Window]\r\nTrayMode=0\r\n}" > "$work/prog/vantu.ini"

. "$root/scripts/wine-env.sh"
export MORVEL_FORCE_XVFB=${MORVEL_FORCE_XVFB:-1}
morvel_wine_start
trap 'morvel_wine_stop; rm -rf "$work"' EXIT
w() { "$MORVEL_WINE" "$work/probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
# One warm-up of each (the first start of a prefix loads more than later ones).
w "Z:$work/baseline.exe" Baseline 0 >/dev/null || true
w "Z:$work/prog/vantu.exe" Morvel 40001 >/dev/null || true
base=() bar=()
for i in $(seq 1 "$runs"); do
    base+=("$(w "Z:$work/baseline.exe" Baseline 0)")
    bar+=("$(w "Z:$work/prog/vantu.exe" Morvel 40001)")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2}'; }
mb=$(median "${base[@]}")
mv=$(median "${bar[@]}")
echo "baseline runs (ms): ${base[*]}"
echo "vantu runs (ms):    ${bar[*]}"
echo "median baseline ${mb} ms, vantu ${mv} ms, ratio $(awk -v a="$mv" -v b="$mb" 'BEGIN{printf "%.2f", a/b}')"
echo "vantu.exe size: $(stat -c %s "$dist/vantu.exe") bytes; baseline.exe: $(stat -c %s "$work/baseline.exe") bytes"
