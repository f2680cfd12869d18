#!/usr/bin/env bash
# Start-up and exit benchmark on Wine's virtual desktop. Measures the time from process
# start to a visible search bar that answers a sent message, and the time from the exit
# command to the end of the process, against two baselines built the same way: the smallest
# dialog program, and one that also loads what the bar must load (common controls 6 through
# its manifest, a tooltip, a tray icon). Runs alternate in one Wine session; medians.
# Usage: tools/bench/startup.sh [RUNS]   (MORVEL_BUILD_DIR as for build.sh)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-15}
b=${MORVEL_BUILD_DIR:-$root/build}
dist=$b/dist
work=$(mktemp -d /tmp/morvel-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
cc=x86_64-w64-mingw32-gcc
rc=x86_64-w64-mingw32-windres
cp "$b/x64/app/vantu.manifest" "$work/baseline.manifest"
$rc "$root/tools/bench/startup_baseline.rc" -O coff -o "$work/baseline.res"
$rc -DBASELINE_FULL -I "$work" "$root/tools/bench/startup_baseline.rc" -O coff \
    -o "$work/full.res"
$cc -O2 -s -static -mwindows -o "$work/baseline.exe" "$root/tools/bench/startup_baseline.c" \
    "$work/baseline.res"
$cc -O2 -s -static -mwindows -DBASELINE_FULL -o "$work/full.exe" \
    "$root/tools/bench/startup_baseline.c" "$work/full.res" -lcomctl32 -lshell32
$cc -O2 -s -static -o "$work/probe.exe" "$root/tools/bench/startup_probe.c"
mkdir -p "$work/prog"
cp "$dist/vantu.exe" "$dist"/*.sef* "$work/prog/" # the engine files and their companions
printf "${MORVEL_BENCH_INI:-[Window]\r\nTrayMode=0\r\n}" > "$work/prog/vantu.ini"

. "$root/scripts/wine-env.sh"
export MORVEL_FORCE_XVFB=${MORVEL_FORCE_XVFB:-1} MORVEL_DESKTOP=${MORVEL_DESKTOP:-1280x800}
morvel_wine_start
trap 'morvel_wine_stop; rm -rf "$work"' EXIT
w() { "$MORVEL_WINE" "$work/probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
# One warm-up of each (the first start of a session loads more than later ones).
w "Z:$work/baseline.exe" Baseline 0 >/dev/null || true
w "Z:$work/full.exe" Baseline 0 >/dev/null || true
w "Z:$work/prog/vantu.exe" Morvel 40001 >/dev/null || true
bs=() be=() fs=() fe=() vs=() ve=()
for i in $(seq 1 "$runs"); do
    read -r s e <<<"$(w "Z:$work/baseline.exe" Baseline 0)"; bs+=("$s"); be+=("$e")
    read -r s e <<<"$(w "Z:$work/full.exe" Baseline 0)"; fs+=("$s"); fe+=("$e")
    read -r s e <<<"$(w "Z:$work/prog/vantu.exe" Morvel 40001)"; vs+=("$s"); ve+=("$e")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }
mbs=$(median "${bs[@]}") mbe=$(median "${be[@]}")
mfs=$(median "${fs[@]}") mfe=$(median "${fe[@]}")
mvs=$(median "${vs[@]}") mve=$(median "${ve[@]}")
echo "start-up runs (ms): minimal ${bs[*]}"
echo "                    loaded  ${fs[*]}"
echo "                    vantu   ${vs[*]}"
echo "exit runs (ms):     minimal ${be[*]}"
echo "                    loaded  ${fe[*]}"
echo "                    vantu   ${ve[*]}"
# Per round ratios: the three runs of a round share the machine's load of that moment.
pair() { local -n a=$1 b=$2; local i; for i in "${!a[@]}"; do ratio "${a[$i]}" "${b[$i]}"; echo; done; }
rbs=$(median $(pair vs bs)) rfs=$(median $(pair vs fs))
echo "start-up medians: minimal ${mbs} ms, loaded ${mfs} ms, vantu ${mvs} ms"
echo "median of per-round ratios: ${rbs} x minimal, ${rfs} x loaded"
echo "start-up ratio: $(ratio "$mvs" "$mbs") x minimal, $(ratio "$mvs" "$mfs") x loaded (aim <= 1.10)"
echo "exit medians: minimal ${mbe} ms, loaded ${mfe} ms, vantu ${mve} ms;" \
    "vantu - loaded $(awk -v a="$mve" -v b="$mfe" 'BEGIN{printf "%.1f", a-b}') ms (aim <= 50)"
echo "sizes: vantu.exe $(stat -c %s "$dist/vantu.exe"), minimal $(stat -c %s "$work/baseline.exe")," \
    "loaded $(stat -c %s "$work/full.exe") bytes"
