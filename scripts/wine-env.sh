# Sourced by the scripts: a private Wine prefix, Xvfb and the Japanese locale.
# Functions: morvel_wine_start (prefix + Xvfb + wineserver), morvel_wine_stop.
# MORVEL_DESKTOP: the virtual desktop's size (e.g. 1280x800), or "off" for normal windows.

MORVEL_ROOT=${MORVEL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${MORVEL_WINEPREFIX:-$MORVEL_ROOT/build/wineprefix}
export WINEARCH=win64
# Mono and Gecko cannot be fetched here: never offer them.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=${MORVEL_LANG:-ja_JP.UTF-8} LC_ALL=${MORVEL_LANG:-ja_JP.UTF-8}
MORVEL_WINE=${MORVEL_WINE:-/usr/lib/wine/wine64}
MORVEL_WINESERVER=${MORVEL_WINESERVER:-/usr/lib/wine/wineserver}
export MORVEL_WINE MORVEL_WINESERVER

_morvel_started_xvfb=""

morvel_free_display() {
    local n
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

morvel_start_xvfb() {
    local n
    n=$(morvel_free_display) || { echo "no free X display" >&2; return 1; }
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    _morvel_started_xvfb=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on :$n" >&2
    return 1
}

# Bumped whenever the prefix set-up below changes, so that older prefixes are brought up to date.
_morvel_prefix_version=3

morvel_ensure_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX (once)" >&2
        mkdir -p "$(dirname "$WINEPREFIX")"
        "$MORVEL_WINE" wineboot --init >/dev/null 2>&1
    fi
    if [ "$(cat "$WINEPREFIX/.morvel-prefix" 2>/dev/null)" != "$_morvel_prefix_version" ]; then
        # The dialogs ask for the usual Japanese system fonts: the fixed-pitch ones are drawn
        # with IPA Gothic, the proportional ones with IPA P Gothic.
        local key='HKCU\Software\Wine\Fonts\Replacements' f
        for f in "ＭＳ ゴシック" "MS Gothic"; do
            "$MORVEL_WINE" reg add "$key" /v "$f" /d "IPAGothic" /f >/dev/null 2>&1
        done
        for f in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic" "メイリオ" "Meiryo" "Meiryo UI" \
            "Yu Gothic UI"; do
            "$MORVEL_WINE" reg add "$key" /v "$f" /d "IPAPGothic" /f >/dev/null 2>&1
        done
        # Wine's own Marlett (Debian's fonts-wine) draws the caption buttons; this Wine does
        # not look in its data directory for it, so it goes into the prefix's font folder.
        local fonts="$WINEPREFIX/drive_c/windows/Fonts"
        mkdir -p "$fonts"
        [ -f /usr/share/wine/fonts/marlett.ttf ] && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
        "$MORVEL_WINESERVER" -w
        echo "$_morvel_prefix_version" >"$WINEPREFIX/.morvel-prefix"
    fi
}

# Wine's virtual desktop (explorer's desktop mode, with its taskbar and tray) for every
# program of the prefix when MORVEL_DESKTOP is a size such as 1280x800; normal windows on
# the display when it is empty or "off".
morvel_set_desktop() {
    local want=${MORVEL_DESKTOP:-off}
    [ "$(cat "$WINEPREFIX/.morvel-desktop" 2>/dev/null)" = "$want" ] && return 0
    local key='HKCU\Software\Wine\Explorer'
    if [ "$want" = off ]; then
        "$MORVEL_WINE" reg delete "$key" /v Desktop /f >/dev/null 2>&1
    else
        "$MORVEL_WINE" reg add "$key" /v Desktop /d Default /f >/dev/null 2>&1
        "$MORVEL_WINE" reg add "$key\Desktops" /v Default /d "$want" /f >/dev/null 2>&1
    fi
    "$MORVEL_WINESERVER" -w
    echo "$want" >"$WINEPREFIX/.morvel-desktop"
}

# With NEED_XVFB=1 (default) an Xvfb is started when DISPLAY is empty or forced by
# MORVEL_FORCE_XVFB=1.
morvel_wine_start() {
    if [ -z "${DISPLAY:-}" ] || [ "${MORVEL_FORCE_XVFB:-0}" = 1 ]; then
        morvel_start_xvfb || return 1
    fi
    morvel_ensure_prefix
    morvel_set_desktop
    "$MORVEL_WINESERVER" -p 60 >/dev/null 2>&1 || true
}

morvel_wine_stop() {
    "$MORVEL_WINESERVER" -k >/dev/null 2>&1 || true
    "$MORVEL_WINESERVER" -w >/dev/null 2>&1 || true
    if [ -n "$_morvel_started_xvfb" ]; then
        kill "$_morvel_started_xvfb" >/dev/null 2>&1 || true
        wait "$_morvel_started_xvfb" 2>/dev/null || true
        _morvel_started_xvfb=""
    fi
}
