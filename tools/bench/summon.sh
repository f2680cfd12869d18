#!/usr/bin/env bash
# Summon key benchmark on Wine's virtual desktop: the time from pressing the summon key over
# a minimised dialog to that dialog in front with its box focused and its whole text
# selected, for vantu.exe against a baseline built the same way (summon_baseline.c: the
# start-up benchmark's "loaded" dialog that registers the same key and on it only restores
# itself, comes to the front and selects its box). Each round starts one program after the
# other (only one can hold the key), takes SAMPLES summonses of each and closes it; the
# order alternates from round to round. Medians; the ratio of the medians and the median of
# the per-round ratios (of each round's medians).
# Usage: tools/bench/summon.sh [RUNS] [KEY]   (MORVEL_BUILD_DIR as for build.sh)
#   KEY: the hotkey control's value to press, default Ctrl+Alt+F11 (0x67A).
#   MORVEL_BENCH_SAMPLES: summonses per program and round (default 5).
#   MORVEL_BENCH_INI: vantu.ini's text instead of the default (printf format; %s is the key),
#   e.g. to measure with TaskErase=1, or another key's setting.
#   MORVEL_BENCH_BEFORE: another vantu.exe (an older build) measured in the same rounds, in
#   a folder of its own with the same files, for before-and-after figures.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-10}
key=${2:-0x67A}
samples=${MORVEL_BENCH_SAMPLES:-5}
b=${MORVEL_BUILD_DIR:-$root/build}
dist=$b/dist
work=$(mktemp -d /tmp/morvel-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
cc=x86_64-w64-mingw32-gcc
rc=x86_64-w64-mingw32-windres
cp "$b/x64/app/vantu.manifest" "$work/baseline.manifest"
$rc -DBASELINE_FULL -I "$work" "$root/tools/bench/startup_baseline.rc" -O coff \
    -o "$work/full.res"
$cc -O2 -s -static -mwindows -o "$work/baseline.exe" "$root/tools/bench/summon_baseline.c" \
    "$work/full.res" -lcomctl32 -lshell32
$cc -O2 -s -static -o "$work/probe.exe" "$root/tools/bench/summon_probe.c"
mkdir -p "$work/prog"
cp "$dist/vantu.exe" "$dist"/*.sef* "$work/prog/" # the engine files and their companions
keydec=$((key))
# TaskErase=0: a minimised bar stays on the taskbar as the baseline does (with 1 it hides).
printf "${MORVEL_BENCH_INI:-[Window]\r\nTrayMode=0\r\nTaskErase=0\r\nHotKey=%s\r\n}" "$keydec" \
    >"$work/prog/vantu.ini"
before=${MORVEL_BENCH_BEFORE:-}
if [ -n "$before" ]; then
    cp -r "$work/prog" "$work/before"
    cp "$before" "$work/before/vantu.exe"
fi

. "$root/scripts/wine-env.sh"
export MORVEL_FORCE_XVFB=${MORVEL_FORCE_XVFB:-1} MORVEL_DESKTOP=${MORVEL_DESKTOP:-1280x800}
morvel_wine_start
trap 'morvel_wine_stop; rm -rf "$work"' EXIT
w() { "$MORVEL_WINE" "$work/probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
base() { w "Z:$work/baseline.exe" Baseline 1001 "$keydec" "$1" 0 "$keydec"; }
vantu() { w "Z:$work/${2:-prog}/vantu.exe" Morvel 1001 "$keydec" "$1" 40001; }
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }
# One warm-up of each (the first start of a session loads more than later ones).
base 1 >/dev/null || true
vantu 1 >/dev/null || true
[ -z "$before" ] || vantu 1 before >/dev/null || true
bs=() vs=() os=() rs=() ro=()
for i in $(seq 1 "$runs"); do
    ro_=""
    if [ $((i % 2)) = 1 ]; then
        rb=$(base "$samples") rv=$(vantu "$samples")
        [ -z "$before" ] || ro_=$(vantu "$samples" before)
    else
        [ -z "$before" ] || ro_=$(vantu "$samples" before)
        rv=$(vantu "$samples") rb=$(base "$samples")
    fi
    echo "round $i: baseline $rb | vantu $rv${before:+ | before $ro_}"
    { [ -n "$rb" ] && [ -n "$rv" ] && { [ -z "$before" ] || [ -n "$ro_" ]; }; } ||
        { echo "a program did not answer" >&2; exit 1; }
    case " $rb $rv $ro_ " in *" -1"*) echo "a summons timed out" >&2; exit 1 ;; esac
    read -ra xb <<<"$rb"
    read -ra xv <<<"$rv"
    bs+=("${xb[@]}") vs+=("${xv[@]}")
    rs+=("$(ratio "$(median "${xv[@]}")" "$(median "${xb[@]}")")")
    if [ -n "$before" ]; then
        read -ra xo <<<"$ro_"
        os+=("${xo[@]}")
        ro+=("$(ratio "$(median "${xo[@]}")" "$(median "${xb[@]}")")")
    fi
done
mb=$(median "${bs[@]}") mv=$(median "${vs[@]}")
echo "summon medians ($runs rounds x $samples, key $key): baseline ${mb} ms, vantu ${mv} ms"
echo "ratio of the medians: $(ratio "$mv" "$mb"); median of per-round ratios: $(median "${rs[@]}") (aim <= 1.05)"
if [ -n "$before" ]; then
    mo=$(median "${os[@]}")
    echo "before: ${mo} ms, ratio of the medians $(ratio "$mo" "$mb"); median of per-round ratios: $(median "${ro[@]}")"
fi
