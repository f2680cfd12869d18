#!/usr/bin/env bash
# Builds everything: the native logic and tools, the x86_64 program (tested) and the
# i686 program (compiled and linked). The ready-to-run folder is build/dist.
# Options: --no-x86 skips the i686 build; --sanitize adds the ASan/UBSan native build;
# --fuzz adds the libFuzzer build.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${MORVEL_JOBS:-$(nproc)}
x86=1 sanitize=0 fuzz=0
for a in "$@"; do
    case "$a" in
        --no-x86) x86=0 ;;
        --sanitize) sanitize=1 ;;
        --fuzz) fuzz=1 ;;
        *) echo "unknown option $a" >&2; exit 2 ;;
    esac
done
b=${MORVEL_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$b/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$b/native" -j "$jobs"
if [ $sanitize = 1 ]; then
    cmake -S "$root" -B "$b/asan" -DCMAKE_BUILD_TYPE=Debug -DMORVEL_SANITIZE=ON >/dev/null
    cmake --build "$b/asan" -j "$jobs"
fi
if [ $fuzz = 1 ]; then
    cmake -S "$root" -B "$b/fuzz" -DCMAKE_BUILD_TYPE=Debug -DMORVEL_FUZZ=ON \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$b/fuzz" -j "$jobs" --target fuzz_sef_reader fuzz_definition fuzz_host_message \
        fuzz_opensearch fuzz_companion fuzz_suggestions
fi
sefgen=$b/native/tools/sefgen
cmake -S "$root" -B "$b/x64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-mingw.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DSEFGEN="$sefgen" >/dev/null
cmake --build "$b/x64" -j "$jobs"
rm -rf "$b/dist"
cp -r "$b/x64/dist" "$b/dist"
if [ $x86 = 1 ]; then
    cmake -S "$root" -B "$b/x86" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DMORVEL_WINE_TESTS=OFF -DSEFGEN="$sefgen" >/dev/null
    cmake --build "$b/x86" -j "$jobs"
fi
echo "Ready to run: $b/dist"
