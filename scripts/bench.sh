#!/usr/bin/env bash
# Builds and runs the benchmarks: the catalogue lists natively (no sanitizers)
# and the catalogue scan under Wine. They print figures; nothing here fails
# because the machine is busy.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$KWIVO_ROOT"
trap kwivo_stop_all EXIT

kwivo_install
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)" --target catalogue_bench keys_bench
say "catalogue lists (native)"
build/bench/bin/catalogue_bench
say "keys to launch over real Start Menu names (native)"
build/bench/bin/keys_bench "$KWIVO_ROOT/../shared/testdata/names/start-menu.txt"

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target scan_bench catalogue_bench keystroke_bench settings_bench startup_bench empty_window kwivo \
    source_bench sourceprogram
kwivo_start_xvfb
kwivo_start_wine "$KWIVO_ROOT/build/windows/wineprefix"
say "catalogue lists (Wine)"
"$WINE" build/windows/bin/catalogue_bench.exe
tree=/tmp/kwivo-scan-bench
say "catalogue scan of $tree (Wine)"
"$WINE" build/windows/bin/scan_bench.exe "Z:${tree//\//\\}"

folder=/tmp/kwivo-folder-bench
if [ "$(find "$folder" -maxdepth 1 -type f 2>/dev/null | wc -l)" -ne 100000 ]; then
    rm -rf "$folder" && mkdir -p "$folder"
    (cd "$folder" && seq -f 'file%06g.txt' 0 99999 | xargs touch)
fi
say "keystrokes over the catalogue and in $folder (Wine)"
"$WINE" build/windows/bin/keystroke_bench.exe "Z:${folder//\//\\}"

startup=/tmp/kwivo-startup-bench
mkdir -p "$startup"
win() { local path=$KWIVO_ROOT/$1; echo "Z:${path//\//\\}"; }
say "start-up of kwivo.exe against an empty window program (Wine)"
"$WINE" build/windows/bin/startup_bench.exe "$(win build/windows/bin/kwivo.exe)" \
    "$(win build/windows/bin/empty_window.exe)" "Z:${startup//\//\\}"

say "kwivo.ini polled and read with watch=1: the starter file (Wine)"
"$WINE" build/windows/bin/settings_bench.exe "Z:${startup//\//\\}" "$(win packaging/kwivo.recommended.ini)"

say "a script source: its answers, and keystrokes while one runs (Wine)"
"$WINE" build/windows/bin/source_bench.exe "$(win build/windows/bin/sourceprogram.exe)" "Z:${startup//\//\\}"
