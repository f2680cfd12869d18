#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when missing.
set -eu
pkgs=(cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
      g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64
      wine64 xvfb x11-utils imagemagick locales-all fonts-ipafont-gothic fonts-wine libc-bin
      rapidjson-dev chromium firefox-esr nodejs xdotool nsis)
pkgs+=(python3) # scripts/package.sh reads the release zips with it
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Debian's nodejs comes without npm (other builds of nodejs bring their own).
command -v npm >/dev/null 2>&1 || missing+=(npm)
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}" >&2
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
