#!/usr/bin/env bash
# The whole launcher, end to end: kwivo.exe under Wine on the test display
# (a 1024x768 Wine desktop), driven by real key presses, checked by the pixels
# of screenshots, which are kept as artifacts.
#   end_to_end.sh KWIVO_EXE WINPROBE_EXE RECORDER_EXE ARTIFACT_FOLDER
# Needs DISPLAY and WINEPREFIX as scripts/test.sh sets them.
set -uo pipefail
kwivo_exe=$1 probe_exe=$2 recorder_exe=$3 artifacts=$4
: "${DISPLAY:?run under scripts/test.sh: no display}" "${WINEPREFIX:?run under scripts/test.sh: no Wine prefix}"
WINE=/usr/lib/wine/wine64

# The strip at rest on a 1024x768 screen: 480 wide, at x 272, y 369.
X=272 Y=369 W=480
ORANGE="srgb(232,95,25)" BLACK="srgb(0,0,0)" WHITE="srgb(255,255,255)"
# The strip's colour, until a saved kwivo.ini changes it.
BACK=$ORANGE BACK_HEX='#E85F19'

work=/tmp/kwivo-end-to-end-$$
mkdir -p "$work/Tools" "$artifacts"
rm -f "$artifacts"/*.png
touch "$work/Tools/kwivoe2e.exe"
# Two programs that start and end at once, with names of different widths.
cp "$probe_exe" "$work/Tools/kwivopa.exe"
cp "$probe_exe" "$work/Tools/kwivopbbbbbbbb.exe"
# Remembered picks on; the first start is still a first start (no runs).
printf '[misc]\r\nremember=1\r\n' >"$work/kwivo.ini"
kwivo_pid=
cleanup() {
    [ -n "$kwivo_pid" ] && kill "$kwivo_pid" 2>/dev/null
    "$WINE" "$probe_exe" close Notepad >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

snap() { import -window root "$artifacts/current.png"; }
keep() { cp "$artifacts/current.png" "$artifacts/$1.png"; echo "screenshot: $artifacts/$1.png"; }
pixel() { convert "$artifacts/current.png" -format "%[pixel:p{$1,$2}]" info:; }
fail() {
    echo "FAILED: $*"
    snap
    keep failure
    exit 1
}
# Polls a check (a shell function) until it holds, taking a fresh screenshot
# each time; the machine may be slow, so there is no fixed pause.
wait_for() {
    local what=$1 check=$2
    for _ in $(seq 200); do
        snap
        "$check" && return 0
        sleep 0.1
    done
    fail "$what"
}

at_rest() { [ "$(pixel $X $Y)" = "$BLACK" ] && [ "$(pixel $((X + 2)) $((Y + 2)))" = "$BACK" ] &&
            [ "$(pixel $((X - 1)) $((Y + 15)))" != "$BACK" ] && [ "$(pixel $((X + W)) $((Y + 15)))" != "$BACK" ]; }
expanded() { at_rest && [ "$(pixel $((X + 2)) $((Y + 205)))" = "$BACK" ] &&
             [ "$(pixel $((X + 2)) $((Y + 211)))" != "$BACK" ]; }
collapsed() { at_rest && [ "$(pixel $((X + 2)) $((Y + 27)))" = "$BACK" ] &&
              [ "$(pixel $((X + 2)) $((Y + 31)))" != "$BACK" ]; }
# Gone means no orange anywhere on the strip's row: a strip still sliding away
# is visible, and a hot key pressed then sends it on instead of back. (grep
# reads the whole listing: one that stopped at the first match would end
# convert by a broken pipe, which pipefail takes for a failure.)
hidden() { [ "$(convert "$artifacts/current.png" -crop 1024x1+0+$((Y + 2)) +repage txt:- | grep -c "$BACK_HEX")" -eq 0 ]; }

# Columns of the text area (inside the frame, right of the prompt) that hold
# typed (white) and completion (black) pixels: "last-white first-black".
text_columns() {
    convert "$artifacts/current.png" -crop $((W - 20))x20+$((X + 15))+$((Y + 5)) +repage txt:- |
        awk -F'[,: ]+' '/#FFFFFF/ { if ($1 > w) w = $1 } /#000000/ { if (b == "" || $1 < b) b = $1 }
                        END { print (w == "" ? -1 : w), (b == "" ? -1 : b) }'
}
# The completion in its colour right behind the typed text.
completion_follows() {
    local columns
    columns=$(text_columns)
    local white=${columns% *} black=${columns#* }
    [ "$white" -ge 0 ] && [ "$black" -gt "$white" ] && [ $((black - white)) -le 4 ]
}
no_completion() { [ "$(text_columns | cut -d' ' -f2)" = -1 ]; }
# The last column of the completion: tells two offered names apart.
completion_end() {
    convert "$artifacts/current.png" -crop $((W - 20))x20+$((X + 15))+$((Y + 5)) +repage txt:- |
        awk -F'[,: ]+' '/#000000/ { if ($1 > b) b = $1 } END { print (b == "" ? -1 : b) }'
}

focus_desktop() {
    local desktop
    for _ in $(seq 100); do
        desktop=$(xdotool search --name "kwivo - Wine desktop" 2>/dev/null | head -n 1)
        [ -n "$desktop" ] && break
        sleep 0.1
    done
    [ -n "$desktop" ] || fail "no Wine desktop window"
    xdotool windowfocus --sync "$desktop" 2>/dev/null || xdotool windowfocus "$desktop"
}
presses=0
hot_key() {
    focus_desktop
    xdotool key "${HOT_KEY:-alt+space}"
    presses=$((presses + 1))
}
type_text() { xdotool type --delay 30 -- "$1"; }
# "/q" typed into the strip on display, and the launcher gone; its exit code.
quit_launcher() {
    type_text "/q"
    enter
    for _ in $(seq 200); do kill -0 "$kwivo_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$kwivo_pid" 2>/dev/null && fail "/q did not end the launcher $1"
    wait "$kwivo_pid"
}
enter() { xdotool key Return; }

echo "first start in an empty folder"
cd "$work"
"$WINE" "$kwivo_exe" </dev/null >/dev/null 2>&1 &
kwivo_pid=$!
wait_for "the first start rests in the centre, expanded" expanded
keep 1-first-start

hot_key
wait_for "Alt+Space sends the strip away" hidden
keep 2-hidden
hot_key
wait_for "Alt+Space brings it back, still expanded" expanded
type_text "/"
enter
wait_for "\"/\" collapses the information view" collapsed
keep 3-collapsed

echo "completion from the system folder"
type_text "notep"
wait_for "the completion follows the typed text" completion_follows
keep 4-completion
xdotool key Tab
wait_for "Tab takes the completion" no_completion
keep 5-accepted
enter
notepad_up() { "$WINE" "$probe_exe" visible Notepad >/dev/null 2>&1; }
wait_for "Enter starts notepad" notepad_up
wait_for "and the strip leaves" hidden
keep 6-launched
"$WINE" "$probe_exe" close Notepad >/dev/null 2>&1

echo "a folder added with /s"
folder="Z:${work//\//\\}\\Tools"
hot_key
wait_for "the strip comes back" collapsed
type_text "$folder /s"
enter
wait_for "the strip leaves after /s" hidden
tr -d '\r' < kwivo.ini | grep -qxF "$folder=1" || fail "kwivo.ini lacks $folder=1: $(cat kwivo.ini)"
hot_key
wait_for "the strip comes back" collapsed
type_text "kwivoe2"
wait_for "a file of the new folder is offered" completion_follows
keep 7-new-folder
for _ in $(seq 7); do xdotool key BackSpace; done

echo "Down steps to the other match; Enter starts it and remembers it"
type_text "kwivop"
wait_for "a match of kwivop is offered" completion_follows
first=$(completion_end)
xdotool key Down
stepped() { completion_follows && [ "$(completion_end)" != "$first" ]; }
wait_for "Down offers the other match" stepped
keep 7-stepped
picked=$(completion_end)
enter
wait_for "the strip leaves after the launch" hidden
grep -q "^kwivop	Z:.*kwivop" kwivo-picks.txt || fail "no pick in kwivo-picks.txt: $(cat kwivo-picks.txt 2>&1)"
hot_key
wait_for "the strip comes back" collapsed

echo "/r, / and /q"
type_text "/r"
enter
wait_for "/r rescans and dismisses" hidden
hot_key
wait_for "the strip comes back" collapsed
type_text "/"
enter
wait_for "\"/\" expands the information view" expanded
keep 8-information
quit_launcher "at the first start"
rc=$?
kwivo_pid=
[ "$rc" -eq 0 ] || fail "exit code $rc"
runs=$(tr -d '\r' < kwivo.ini | sed -n 's/^runs=//p')
[ "$runs" = "$presses" ] || fail "kwivo.ini holds runs=$runs after $presses hot key presses"

echo "after a restart the remembered pick is offered first"
# Without the slide there is no banner to wait out: the strip stays hidden
# until the hot key shows it in place.
printf '[ui]\r\nslidespeed=0\r\n' >>kwivo.ini
# And the folders are watched from now on, and Ctrl+Enter is turned on.
awk '{ print } /^\[misc\]/ { printf "watch=1\r\nctrlenter=1\r\n" }' kwivo.ini >kwivo.new && mv kwivo.new kwivo.ini
# A program that writes how it was started to record.txt.
cp "$recorder_exe" "$work/Tools/kwivorec.exe"
KWIVO_RECORD="Z:${work//\//\\}\\record.txt" "$WINE" "$kwivo_exe" </dev/null >/dev/null 2>&1 &
kwivo_pid=$!
launcher_up() { "$WINE" "$probe_exe" running >/dev/null 2>&1; }
wait_for "the launcher starts again" launcher_up
hot_key
wait_for "the strip comes back" collapsed
type_text "kwivop"
remembered() { completion_follows && [ "$(completion_end)" = "$picked" ]; }
wait_for "the pick, not the first match, is offered" remembered
keep 9-remembered-pick

echo "a program made while the launcher runs is offered without /r, but not while typing"
xdotool key BackSpace
touch "$work/Tools/kwivowatch.exe"
sleep 3.5  # past the rebuild's delay, with text on display
type_text "w"
typed_only() { [ "$(text_columns | cut -d' ' -f1)" -ge 0 ] && no_completion; }
wait_for "kwivow offers nothing yet" typed_only
for _ in $(seq 6); do xdotool key BackSpace; done
sleep 1  # the empty strip lets the rebuild run
type_text "kwivow"
wait_for "the new program is offered" completion_follows
keep 10-watched
for _ in $(seq 6); do xdotool key BackSpace; done

echo "Ctrl+Shift+Enter starts the file on display as administrator; Ctrl+Enter opens its folder"
type_text "kwivorec"
# ".exe" starts with a narrow dot, further from the typed text than a letter.
offered() { ! no_completion; }
wait_for "kwivorec is offered" offered
xdotool key ctrl+shift+Return
recorded() { grep -q 'kwivorec.exe|' "$work/record.txt" 2>/dev/null; }
wait_for "Ctrl+Shift+Enter starts it" recorded
wait_for "and the strip leaves" hidden
hot_key
wait_for "the strip comes back" collapsed
type_text "kwivorec"
wait_for "kwivorec is offered again" offered
xdotool key ctrl+Return
folder_open() { "$WINE" "$probe_exe" visible Tools >/dev/null 2>&1; }
wait_for "Ctrl+Enter opens the Tools folder" folder_open
wait_for "and the strip leaves" hidden
keep 11-folder-opened
"$WINE" "$probe_exe" close Tools >/dev/null 2>&1
hot_key
wait_for "the strip comes back" collapsed
quit_launcher "after the restart"
kwivo_pid=

echo "with words and accents, a word of a name typed without its accent starts that file"
awk '{ print } /^\[misc\]/ { printf "names=1\r\nwords=1\r\naccents=1\r\n" }' kwivo.ini >kwivo.new && mv kwivo.new kwivo.ini
cp "$recorder_exe" "$work/Tools/Kwivo Câmera Tool.exe"
KWIVO_RECORD="Z:${work//\//\\}\\record.txt" "$WINE" "$kwivo_exe" </dev/null >/dev/null 2>&1 &
kwivo_pid=$!
wait_for "the launcher starts a third time" launcher_up
hot_key
wait_for "the strip comes back" collapsed
type_text "camera"
wait_for "the name is offered" offered
keep 12-word-match
enter
camera_started() { grep -q 'Kwivo Câmera Tool.exe|' "$work/record.txt" 2>/dev/null; }
wait_for "Enter starts Kwivo Câmera Tool.exe" camera_started
wait_for "and the strip leaves" hidden
hot_key
wait_for "the strip comes back" collapsed

echo "kwivo.ini saved while the strip is shown: its colour, hot key and aliases apply at once"
# Saved as many editors save: a new file renamed into place.
awk '{ print } /^\[ui\]/ { printf "colourback=0,128,0\r\n" }' kwivo.ini >kwivo.new
printf '[hotkey]\r\nmod=3\r\nvk=75\r\n[aliases]\r\nkwivoalias=%s\\kwivorec.exe\r\n' "$folder" >>kwivo.new
mv kwivo.new kwivo.ini
BACK="srgb(0,128,0)" BACK_HEX='#008000'
wait_for "the shown strip turns green" collapsed
keep 13-saved-colour
HOT_KEY=ctrl+alt+k
hot_key
wait_for "Ctrl+Alt+K sends it away" hidden
hot_key
wait_for "and brings it back" collapsed
rm -f "$work/record.txt"
type_text "kwivoali"
wait_for "the saved alias is offered" offered
enter
wait_for "Enter starts the alias's program" recorded
wait_for "and the strip leaves" hidden
hot_key
wait_for "the strip comes back" collapsed
quit_launcher "after the third start"
kwivo_pid=
echo "passed: $presses hot key presses, runs=$runs, exit code 0, a remembered pick, a watched folder, both Ctrl+Enter keys, a word match typed without its accent, a saved colour, hot key and alias"
