#!/usr/bin/env bash
# Windows tests written for another ANSI code page, in a Wine prefix of its
# own that runs under it: code page 932 (Japanese, from ja_JP.UTF-8) and
# 65001 (UTF-8, which Wine gives a locale without an ANSI code page of its
# own, such as hi_IN.UTF-8).
#   code_page.sh LOCALE GTEST_FILTER WINDOW_TESTS_EXE WORK_FOLDER
# Needs DISPLAY, as scripts/test.sh sets it, and root to generate the locale.
set -uo pipefail
locale=$1 filter=$2 tests_exe=$3 work=$4
: "${DISPLAY:?run under scripts/test.sh: no display}"
WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver

fail() { echo "FAILED: $*"; exit 1; }
# Wine takes its code page from the locale, made here when the machine
# lacks it (the locales package is installed by test.sh).
if ! locale -a 2>/dev/null | grep -qi "^${locale%%.*}\.utf-\?8$"; then
    localedef -i "${locale%%.*}" -f UTF-8 "$locale" >/dev/null 2>&1 || fail "the $locale locale could not be made"
fi

rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" LC_ALL=$locale
trap '"$WINESERVER" -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
"$WINE" wineboot --init >/dev/null 2>&1
# The code page is read when the server starts.
"$WINESERVER" -k
"$WINESERVER" -w
"$WINESERVER" -p </dev/null >/dev/null 2>&1
# Wine's services start with the first process and keep its output open:
# start them with none, so that the test's output can be read to its end.
"$WINE" cmd /c exit </dev/null >/dev/null 2>&1
out=$("$WINE" "$tests_exe" --gtest_filter="$filter" 2>&1 </dev/null)
echo "$out"
grep -q '^\[  PASSED  \] 1 test' <<<"$out" || fail "the test for $locale did not pass"
