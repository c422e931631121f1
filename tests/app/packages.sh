#!/usr/bin/env bash
# The release packages end to end, in a Wine prefix of their own (a new
# user): built twice and compared, the zip unpacked and started, the
# installer run silently, Kwivo started as its shortcuts start it, upgraded
# while it runs, and uninstalled.
#   packages.sh SOURCE_DIR WINPROBE_EXE PROJECT_VERSION WORK_FOLDER
# Needs DISPLAY, as scripts/test.sh sets it.
set -uo pipefail
src=$1 probe_exe=$2 version=$3 work=$4
: "${DISPLAY:?run under scripts/test.sh: no display}"
WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver

fail() { echo "FAILED: $*"; exit 1; }
step() { echo "== $*"; }
# Polls a command for up to 20 s: the machine may be busy.
wait_for() { for _ in $(seq 100); do "$@" && return 0; sleep 0.2; done; return 1; }
probe() { "$WINE" "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
running() { "$WINE" "$probe_exe" running >/dev/null 2>&1; }
stopped() { ! running; }
gone() { [ ! -e "$1" ]; }
win() { echo "Z:${1//\//\\}"; }
unix() { "$WINE" winepath -u "$1" 2>/dev/null; }
# Presses the hot key N times, each counted once. Wine now and then ends a
# process before it runs: a probe that reported fewer presses is started
# again for the rest, so that no press is lost or made twice unseen.
press_hotkey() {
    local left=$1 tries=0
    while [ "$left" -gt 0 ] && [ "$tries" -lt 5 ]; do
        left=$((left - $(probe hotkey "$left" | grep -c '^pressed$')))
        tries=$((tries + 1))
    done
    [ "$left" -eq 0 ] || fail "$left hot key presses did not reach Kwivo"
}
# Kwivo started by Wine's "start", as a double click would; quit with "/q".
start_and_quit() {
    "$WINE" start "$@" >/dev/null 2>&1
    wait_for running || fail "Kwivo did not start from $*"
    probe type "/q"
    wait_for stopped || fail "\"/q\" did not end Kwivo"
}

rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
trap '"$WINESERVER" -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT

step "two builds of this tree give the same bytes"
for build in a b; do
    bash "$src/scripts/package.sh" "$work/build-$build" "$work/$build" >"$work/package-$build.log" 2>&1 ||
        fail "package.sh: $(tail -n 5 "$work/package-$build.log")"
done
setup=$work/a/Kwivo-$version-setup.exe zip=$work/a/Kwivo-$version-win64.zip
[ -f "$setup" ] && [ -f "$zip" ] || fail "no packages named for $version: $(ls "$work/a")"
for file in "$(basename "$setup")" "$(basename "$zip")" SHA256SUMS; do
    cmp "$work/a/$file" "$work/b/$file" || fail "$file differs between two builds"
done
(cd "$work/a" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not match"

"$WINE" wineboot --init >/dev/null 2>&1
"$WINESERVER" -w
"$WINESERVER" -p

step "the zip, unpacked and started from its folder"
unzip -q "$zip" -d "$work/zip" || fail "unzip"
[ "$(cd "$work/zip" && ls | sort | tr '\n' ' ')" = "LICENSE.txt kwivo-guide.txt kwivo.exe kwivo.sample.ini sources " ] ||
    fail "the zip holds $(ls "$work/zip")"
[ "$(cd "$work/zip/sources" && ls | tr '\n' ' ')" = "processes.cmd windows.ps1 " ] ||
    fail "the zip's sources are $(ls "$work/zip/sources")"
[ "$(probe version "$(win "$work/zip/kwivo.exe")")" = "$version" ] ||
    fail "the program's version information does not say $version"
[ "$(head -n 1 "$work/zip/kwivo-guide.txt")" = $'## Using Kwivo\r' ] || fail "the guide does not start the user's part"
grep -qv $'\r$' "$work/zip/kwivo-guide.txt" "$work/zip/kwivo.sample.ini" "$work/zip/sources/"* &&
    fail "a line without Windows' line end"
(cd "$work/zip" && start_and_quit kwivo.exe)
[ -f "$work/zip/kwivo.ini" ] || fail "no kwivo.ini beside the unpacked kwivo.exe"

step "silent install"
target=$work/Kwivo
"$WINE" "$setup" /S "/D=$(win "$target")" || fail "setup.exe /S"
for file in kwivo.exe uninstall.exe kwivo-guide.txt kwivo.sample.ini LICENSE.txt; do
    [ -f "$target/$file" ] || fail "$file not installed"
done
appdata=$("$WINE" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
settings=$appdata\\Kwivo
menu=$appdata\\Microsoft\\Windows\\Start\ Menu\\Programs\\Kwivo.lnk
startup=$appdata\\Microsoft\\Windows\\Start\ Menu\\Programs\\Startup\\Kwivo.lnk
for link in "$menu" "$startup"; do
    [ -f "$(unix "$link")" ] || fail "no shortcut $link"
    [ "$(probe target "$link")" = "$(win "$target")\\kwivo.exe" ] || fail "$link points at $(probe target "$link")"
    folder=$(lnkinfo "$(unix "$link")" | sed -n 's/^\tWorking directory\t*: //p')
    [ "$folder" = "$settings" ] || fail "$link starts in '$folder', not $settings"
done
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kwivo'
entry() { "$WINE" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
exe=$(win "$target")\\kwivo.exe uninstaller=\"$(win "$target")\\uninstall.exe\"
[ "$(entry DisplayName)" = Kwivo ] && [ "$(entry DisplayVersion)" = "$version" ] &&
    [ -n "$(entry Publisher)" ] && [ "$(entry DisplayIcon)" = "$exe" ] &&
    [ "$(entry InstallLocation)" = "$(win "$target")" ] && [ "$(entry UninstallString)" = "$uninstaller" ] &&
    [ "$(entry QuietUninstallString)" = "$uninstaller /S" ] && [ "$(entry NoModify)" = 0x1 ] &&
    [ "$(entry NoRepair)" = 0x1 ] && [ $(($(entry EstimatedSize))) -gt 0 ] ||
    fail "uninstall entry: $("$WINE" reg query "$key" 2>&1)"

ini=$(unix "$settings\\kwivo.ini")
sed 's/\r*$/\r/' "$src/packaging/kwivo.recommended.ini" >"$work/recommended.ini"
cmp "$ini" "$work/recommended.ini" || fail "a first install did not write the recommended kwivo.ini: $(cat -A "$ini")"
samples=$(unix "$settings\\sources")
for sample in processes.cmd windows.ps1; do
    cmp "$samples/$sample" "$work/zip/sources/$sample" || fail "the sample source $sample was not installed"
done

step "started as the Start Menu shortcut starts it"
start_and_quit "$menu"
[ -f "$ini" ] || fail "no kwivo.ini in $settings"

step "an upgrade closes the running Kwivo, which saves its count, and keeps kwivo.ini"
printf '; mine\r\n[misc]\r\nruns=5\r\n[folders]\r\nZ:\\nowhere=1\r\n' >"$ini"
printf '; mine\r\n[misc]\r\nruns=8\r\n[folders]\r\nZ:\\nowhere=1\r\n' >"$work/expected.ini"
printf 'older' >>"$target/kwivo.exe"
printf 'rem mine\r\n' >"$samples/processes.cmd"
"$WINE" start "$menu" >/dev/null 2>&1
wait_for running || fail "Kwivo did not start"
press_hotkey 3
"$WINE" "$setup" /S "/D=$(win "$target")" || fail "setup.exe /S over a running Kwivo"
stopped || fail "the installer left Kwivo running"
cmp "$ini" "$work/expected.ini" || fail "kwivo.ini after the upgrade: $(cat -A "$ini")"
cmp "$target/kwivo.exe" "$work/zip/kwivo.exe" || fail "the program was not replaced"
[ "$(cat "$samples/processes.cmd")" = $'rem mine\r' ] || fail "the upgrade replaced a changed sample source"

step "/NOSTARTUP leaves Kwivo out of the Startup folder"
"$WINE" "$setup" /S /NOSTARTUP "/D=$(win "$target")" || fail "setup.exe /S /NOSTARTUP"
[ -f "$(unix "$startup")" ] && fail "the Startup shortcut is still there"
[ -f "$(unix "$menu")" ] || fail "the Start Menu shortcut went too"

step "silent uninstall keeps kwivo.ini"
"$WINE" "$(win "$target")\\uninstall.exe" /S
wait_for gone "$target" || fail "the program folder is still there: $(ls "$target")"
[ -f "$(unix "$menu")" ] && fail "the Start Menu shortcut is still there"
"$WINE" reg query "$key" >/dev/null 2>&1 && fail "the uninstall entry is still there"
cmp "$ini" "$work/expected.ini" || fail "kwivo.ini changed or went"
[ -f "$samples/windows.ps1" ] || fail "the sample sources went"
rm -rf "$work"/build-? "$work/zip"
echo "passed: packages of Kwivo $version built, installed, upgraded and removed"
