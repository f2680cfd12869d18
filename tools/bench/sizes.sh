#!/usr/bin/env bash
# Prints the sizes of vantu.exe and Pelka.dll and the DLLs they import, for every build of
# them there is (x64 and x86). Builds nothing: run scripts/build.sh first.
# Usage: tools/bench/sizes.sh [BUILD_DIR]   (default: $MORVEL_BUILD_DIR or build/)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
b=${1:-${MORVEL_BUILD_DIR:-$root/build}}
found=0
for arch in x64 x86; do
    case $arch in
        x64) objdump=x86_64-w64-mingw32-objdump ;;
        x86) objdump=i686-w64-mingw32-objdump ;;
    esac
    for file in vantu.exe Pelka.dll; do
        path=$b/$arch/dist/$file
        [ -f "$path" ] || continue
        found=1
        size=$(stat -c %s "$path")
        imports=$("$objdump" -p "$path" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -uf | tr '\n' ' ')
        grouped=$(echo "$size" | sed -E ':a; s/([0-9])([0-9]{3})($|,)/\1,\2\3/; ta')
        kib=$(awk -v s="$size" 'BEGIN { printf "%.1f", s / 1024 }')
        printf '%-4s %-10s %9s bytes %6s KiB   imports: %s\n' "$arch" "$file" "$grouped" "$kib" \
            "$imports"
    done
done
if [ $found = 0 ]; then
    echo "no vantu.exe or Pelka.dll under $b/x64/dist or $b/x86/dist: run scripts/build.sh" >&2
    exit 1
fi
