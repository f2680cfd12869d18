#!/usr/bin/env bash
# Makes the release packages from the builds of scripts/build.sh and checks them:
# build/packages/morvel-<version>-<arch>.zip (CPack) and beside each the per-user installer
# morvel-<version>-<arch>-setup.exe (makensis, installer/morvel.nsi), for x64 and x86. The
# zips' contents are checked file by file; the x64 installer is installed, run and
# uninstalled under Wine (tests/installer), its pages saved in build/packages/installer-shots.
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

# The installer of one architecture: the files the zip holds, put by the build's install
# rules into a folder of their own, packed by makensis. The x64 one is then checked under
# Wine (the i686 one only builds: this Wine runs 64-bit programs only).
make_installer() { # arch version
    local arch=$1 version=$2
    local stage=$b/$arch/setup-files setup=$out/morvel-$version-$arch-setup.exe
    local log=$out/makensis-$arch.log
    local vendor parts
    vendor=$(sed -n 's/^set(CPACK_PACKAGE_VENDOR "\(.*\)")$/\1/p' "$b/$arch/CPackConfig.cmake")
    IFS=. read -r -a parts <<<"$version.0.0.0"
    rm -rf "$stage" "$setup"
    if ! cmake --install "$b/$arch" --prefix "$stage" >"$log" 2>&1 ||
        ! makensis -INPUTCHARSET UTF8 -V2 -DARCH="$arch" -DVERSION="$version" \
            -DVIVERSION="${parts[0]}.${parts[1]}.${parts[2]}.${parts[3]}" -DPUBLISHER="$vendor" \
            -DSTAGE="$stage" -DSRCDIR="$root" -DOUTFILE="$setup" "$root/installer/morvel.nsi" \
            >>"$log" 2>&1 || [ ! -f "$setup" ]; then
        echo "the $arch installer could not be made:"
        tail -20 "$log"
        return 1
    fi
    local size
    size=$(($(stat -c %s "$setup") / 1024))
    if [ "$arch" != x64 ]; then
        echo "$setup: $size KB, built"
        return 0
    fi
    local check=$b/x64/tests/installer_tests.exe shots=$out/installer-shots
    if [ ! -f "$check" ]; then
        echo "$setup: $size KB, not checked: $check is missing (a build with MORVEL_WINE_TESTS=ON makes it)"
        return 1
    fi
    rm -rf "$shots"
    mkdir -p "$shots"
    local result=$out/installer-check.log rc f
    MORVEL_SETUP="$setup" MORVEL_STAGE_DIR="$stage" MORVEL_SHOTS_DIR="$shots" MORVEL_FORCE_XVFB=1 \
        timeout 600 bash "$root/scripts/wine-run.sh" "$check" >"$result" 2>&1
    rc=$?
    for f in "$shots"/*.bmp; do
        [ -f "$f" ] && convert "$f" "${f%.bmp}.png" 2>/dev/null && rm -f "$f"
    done
    if [ $rc -eq 0 ]; then
        echo "$setup: $size KB, installed, run and uninstalled under Wine" \
            "($(grep -c '^\[       OK \]' "$result") tests; pages in $shots)"
        return 0
    fi
    echo "$setup: $size KB, the check under Wine failed:"
    grep -v -E "^\[ (RUN|      OK) \]|^(Running main|Note: Google)" "$result" | tail -60
    return 1
}
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
    if make_installer "$arch" "$version"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
done
echo "packages: $passed passed, $failed failed"
[ $failed -eq 0 ]
