#!/usr/bin/env bash
# The strip at 144 DPI, in a Wine prefix of its own whose display reports
# 144 pixels an inch: with dpiscale=1 it keeps its physical size (720 x 45,
# centred), without it it is 480 x 30 as ever. Screenshots of both are kept.
#   high_dpi.sh KWIVO_EXE WINPROBE_EXE WORK_FOLDER
# Needs DISPLAY, as scripts/test.sh sets it.
set -uo pipefail
kwivo_exe=$1 probe_exe=$2 work=$3
: "${DISPLAY:?run under scripts/test.sh: no display}"
WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver

fail() { echo "FAILED: $*"; exit 1; }
wait_for() { for _ in $(seq 100); do "$@" && return 0; sleep 0.2; done; return 1; }
running() { "$WINE" "$probe_exe" running >/dev/null 2>&1; }
stopped() { ! running; }

rm -rf "$work"
mkdir -p "$work/run"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
trap '"$WINESERVER" -k 2>/dev/null; rm -rf "$WINEPREFIX" "$work/run"' EXIT
"$WINE" wineboot --init >/dev/null 2>&1
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
# The DPI is read when the server starts.
"$WINESERVER" -k
"$WINESERVER" -w
"$WINESERVER" -p
cp "$kwivo_exe" "$work/run/kwivo.exe"
cd "$work/run"

# Shows the strip in place (no slide) with the given [ui] lines, and checks
# where it rests: "left top width height" on the screen of this display.
check() {
    local name=$1 settings=$2 expected_width=$3 expected_height=$4
    printf '[misc]\r\nruns=1\r\n[ui]\r\nslidespeed=0\r\n%s' "$settings" >kwivo.ini
    "$WINE" kwivo.exe </dev/null >/dev/null 2>&1 &
    wait_for running || fail "$name: Kwivo did not start"
    "$WINE" "$probe_exe" hotkey >/dev/null 2>&1 || fail "$name: the hot key was not handled"
    read -r left top width height screen_width screen_height < <("$WINE" "$probe_exe" rect | tr -d '\r')
    local want_left=$(((screen_width - expected_width) / 2)) want_top=$(((screen_height - expected_height) / 2))
    import -window root "$work/$name.png"
    [ "$width x $height" = "$expected_width x $expected_height" ] ||
        fail "$name: the strip is $width x $height, not $expected_width x $expected_height"
    [ "$left $top" = "$want_left $want_top" ] || fail "$name: the strip rests at $left,$top, not $want_left,$want_top"
    echo "$name: $width x $height at $left,$top on a $screen_width x $screen_height screen; screenshot $work/$name.png"
    "$WINE" "$probe_exe" type "/q" >/dev/null 2>&1
    wait_for stopped || fail "$name: \"/q\" did not end Kwivo"
}

check scaled $'dpiscale=1\r\n' 720 45
check unscaled '' 480 30
