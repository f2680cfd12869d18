#!/usr/bin/env bash
# Runs the end-to-end suite "Unprivileged" as an ordinary account would meet the program:
# a Unix user of its own, with its own Wine prefix, X display and wineserver, starting
# vantu.exe from a program folder owned by root that it can read but not write (as a user
# meets a folder under Program Files). Root, whom permissions do not stop, prepares the
# folder; everything else runs as that user. Needs root (CI runs as root); otherwise 77
# (skipped).
# Usage: run_unprivileged.sh E2E_TESTS_EXE DIST_DIR HELPER_DIR
set -u
exe=$1 dist=$2 helpers=$3
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
user=${MORVEL_TEST_USER:-morvel-e2e}
if [ "$(id -u)" != 0 ]; then
    echo "not root: the ordinary account cannot be made here (skipped)"
    exit 77
fi
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user" || exit 1
home=$(getent passwd "$user" | cut -d: -f6)

work=$(mktemp -d /tmp/morvel-unprivileged.XXXXXX) || exit 1
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
# The program folder: root's, readable and runnable by everyone, writable by root only.
prog=$work/program
mkdir "$prog"
cp "$dist/vantu.exe" "$dist/morvel-host.exe" "$dist/標準.sef" "$dist/標準.sef.txt" "$prog/" || exit 1
# What the user's test program and the stand-in browser need, readable by the user.
mkdir "$work/tests"
cp "$exe" "$helpers/fake_browser.exe" "$scripts/wine-env.sh" "$work/tests/" || exit 1
winpath() { echo "Z:$1" | tr / '\\'; }
# The settings the program folder holds: the stand-in browser, the bundled engine file and a
# history of ten, in Shift-JIS with CRLF as the program writes them.
printf '[Search]\r\nBrowser=%s\r\nDefaultSEF=標準.sef\r\n[History]\r\nMax=10\r\n' \
    "$(winpath "$work/tests/fake_browser.exe")" | iconv -f UTF-8 -t CP932 >"$prog/vantu.ini" ||
    exit 1
chown -R root:root "$prog"
chmod 755 "$prog"
chmod 644 "$prog"/*
chmod 755 "$work/tests"
chmod 644 "$work/tests"/*

# The user's own prefix (made once, kept in the user's home for later runs); the data folder
# from an earlier run is removed so that the first start is a first start.
runuser -u "$user" -- env -i HOME="$home" USER="$user" PATH=/usr/bin:/bin \
    MORVEL_WINEPREFIX="$home/.morvel-wine" MORVEL_FORCE_XVFB=1 \
    MORVEL_DESKTOP="${MORVEL_DESKTOP:-1280x800}" MORVEL_PROGRAM_DIR="$(winpath "$prog/")" \
    MORVEL_HELPER_DIR="$(winpath "$work/tests/")" MORVEL_SHOTS_DIR="${MORVEL_SHOTS_DIR:-}" \
    bash -c '
        . "$1/wine-env.sh"
        morvel_wine_start || exit 1
        rm -rf "$WINEPREFIX/drive_c/users/$USER/AppData/Roaming/Morvel"
        # Into a file, not a pipe: the services Wine leaves running would hold a pipe open.
        log=$(mktemp)
        timeout 240 "$MORVEL_WINE" "$1/e2e_tests.exe" --gtest_filter="Unprivileged.*" \
            >"$log" 2>&1
        rc=$?
        morvel_wine_stop
        cat "$log"
        # A filter that matched nothing would pass as well: the suite must have run.
        grep -q "^\[  PASSED  \] [1-9]" "$log" || rc=1
        rm -f "$log"
        exit $rc
    ' run "$work/tests"
