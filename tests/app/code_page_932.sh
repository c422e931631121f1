#!/usr/bin/env bash
# The Windows tests written for the Japanese ANSI code page 932, in a Wine
# prefix of its own that runs under it: typing, Backspace and a folder whose
# name ends in a character with the byte 0x5C.
#   code_page_932.sh WINDOW_TESTS_EXE WORK_FOLDER
# Needs DISPLAY, as scripts/test.sh sets it, and root to generate the locale.
set -uo pipefail
tests_exe=$1 work=$2
: "${DISPLAY:?run under scripts/test.sh: no display}"
WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver

fail() { echo "FAILED: $*"; exit 1; }
# Wine takes its code page from the locale: ja_JP.UTF-8 gives 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen 2>/dev/null && locale-gen >/dev/null 2>&1 ||
        fail "the ja_JP.UTF-8 locale could not be generated"
fi

rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" LC_ALL=ja_JP.UTF-8
trap '"$WINESERVER" -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
"$WINE" wineboot --init >/dev/null 2>&1
# The code page is read when the server starts.
"$WINESERVER" -k
"$WINESERVER" -w
"$WINESERVER" -p </dev/null >/dev/null 2>&1
# Wine's services start with the first process and keep its output open:
# start them with none, so that the test's output can be read to its end.
"$WINE" cmd /c exit </dev/null >/dev/null 2>&1
out=$("$WINE" "$tests_exe" --gtest_filter='WideTextTest.CodePage932*' 2>&1 </dev/null)
echo "$out"
grep -q '^\[  PASSED  \] 1 test' <<<"$out" || fail "the code page 932 test did not pass"
