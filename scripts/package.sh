#!/usr/bin/env bash
# Makes the release packages with CPack from the builds of scripts/build.sh and checks
# their contents: build/packages/morvel-<version>-x64.zip and morvel-<version>-x86.zip.
# Usage: scripts/package.sh [ARCH...]   (default: x64 x86; each must have been built)
# Prints one line per package and "packages: N passed, M failed"; exits non-zero on a fault.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
b=${MORVEL_BUILD_DIR:-$root/build}
out=$b/packages
archs=("$@")
[ ${#archs[@]} -eq 0 ] && archs=(x64 x86)
mkdir -p "$out"
passed=0 failed=0
for arch in "${archs[@]}"; do
    config=$b/$arch/CPackConfig.cmake
    if [ ! -f "$config" ]; then
        echo "no $arch build in $b/$arch: run scripts/build.sh first"
        failed=$((failed + 1))
        continue
    fi
    version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$config")
    zip=$out/morvel-$version-$arch.zip
    rm -f "$zip"
    if ! (cd "$b/$arch" && cpack -G ZIP -B "$out" >"$out/cpack-$arch.log" 2>&1) || [ ! -f "$zip" ]; then
        echo "cpack failed for $arch:"
        tail -20 "$out/cpack-$arch.log"
        failed=$((failed + 1))
        continue
    fi
    rm -rf "$out/_CPack_Packages"
    if python3 "$root/tests/package_check.py" "$zip" "$arch" "$b/$arch/dist" "$version"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
done
echo "packages: $passed passed, $failed failed"
[ $failed -eq 0 ]
