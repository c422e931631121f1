#!/usr/bin/env bash
# Installs what is needed, builds kwivo.exe and runs it under Wine, on the
# current X display when there is one and on a virtual one (Xvfb) otherwise.
# kwivo.ini is read and written in build/run. Ends when the launcher quits
# ("/q") or on Ctrl+C.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$KWIVO_ROOT"
trap kwivo_stop_all EXIT

kwivo_install
say "building kwivo.exe"
cmake --preset windows >/dev/null
cmake --build --preset windows --target kwivo -j "$(nproc)"

size=1024x768
virtual=
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    say "running on your display $DISPLAY"
else
    kwivo_start_xvfb "$size"
    virtual=1
    say "no X display found: running on the virtual display $DISPLAY (Xvfb, $size)"
fi
kwivo_start_wine "$KWIVO_ROOT/build/windows/wineprefix" "$size"

mkdir -p build/run
cd build/run
"$WINE" ../windows/bin/kwivo.exe </dev/null &
kwivo=$!
KWIVO_PIDS+=($kwivo)

cat <<TEXT
kwivo.exe runs inside the Wine desktop window "kwivo - Wine desktop" ($size).
Give that window the focus and press Alt+Space to show or hide the strip.
Settings: $PWD/kwivo.ini
TEXT
if [ -n "$virtual" ]; then
    shot=$PWD/screen.png
    cat <<TEXT
Nothing is on a screen you can see, so a screenshot of the virtual display is
saved every 2 seconds to $shot. Send keys from another shell:
  DISPLAY=$DISPLAY xdotool search --name "kwivo - Wine desktop" windowfocus --sync key alt+space
  DISPLAY=$DISPLAY xdotool type notepad
Type "/q" and Enter in the strip, or press Ctrl+C here, to end.
TEXT
    while kill -0 "$kwivo" 2>/dev/null; do
        import -window root "$shot.tmp.png" 2>/dev/null && mv "$shot.tmp.png" "$shot"
        sleep 2
    done
fi
wait "$kwivo" || true
say "kwivo.exe has ended"
