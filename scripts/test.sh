#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the portable
# code natively under AddressSanitizer and UBSan, then the Windows build under
# Wine on a private Xvfb display.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$KWIVO_ROOT"
trap kwivo_stop_all EXIT

kwivo_install
jobs=$(nproc)
logs=build/test-logs
mkdir -p "$logs"

say "native build (AddressSanitizer, UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
set +e
ctest --preset native -j "$jobs" 2>&1 | tee "$logs/native.log"
native_rc=${PIPESTATUS[0]}
set -e

say "Windows build (mingw-w64)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
ls -l build/windows/bin/kwivo.exe

say "Windows tests under Wine"
kwivo_start_xvfb 1024x768
kwivo_start_wine "$KWIVO_ROOT/build/windows/wineprefix" 1024x768
# A hidden window keeps the Wine desktop up for the whole run, so that no test
# starts while the desktop of the one before is closing.
"$WINE" build/windows/bin/winprobe.exe hold </dev/null >/dev/null 2>&1 &
KWIVO_PIDS+=($!)
set +e
# One at a time: the tests share one desktop, its clipboard and its hot keys.
# A test that fails is run once more, and its first failure stays in the log:
# now and then a Windows process under Wine ends before it starts, with no
# output at all.
ctest --preset windows -j 1 --repeat until-pass:2 2>&1 | tee "$logs/windows.log"
windows_rc=${PIPESTATUS[0]}
set -e

# One closing line over both runs, from ctest's own summaries.
summary() { sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -n 1; }
failed=0
total=0
for log in "$logs/native.log" "$logs/windows.log"; do
    set -- $(summary "$log") 0 0
    failed=$((failed + $1))
    total=$((total + $2))
done
# A test that failed and then passed is no pass to forget: a fault of the
# test or of the product that a later run may meet. Named above the total.
test_names() { sed -n -E "s/^.*Test +#[0-9]+: ([^ ]+) \.*.*\*\*\*$1.*$/\1/p" "$logs/windows.log" | sort -u; }
final_failures=$(sed -n '/The following tests FAILED/,$p' "$logs/windows.log" | sed -n -E 's/^.*[0-9]+ - ([^ ]+) .*$/\1/p' | sort -u)
second_run=$(comm -23 <(test_names '(Failed|Timeout|Exception)') <(printf '%s\n' "$final_failures" | sed '/^$/d'))
echo
if [ -n "$second_run" ]; then
    echo "passed only on their second run:"
    printf '  %s\n' $second_run
fi
echo "$((total - failed)) passed, $failed failed"
[ "$native_rc" -eq 0 ] && [ "$windows_rc" -eq 0 ] && [ "$total" -gt 0 ]
