#!/usr/bin/env bash
# Builds the release packages into OUT_DIR (build/packages):
#   Kwivo-<version>-win64.zip  kwivo.exe, its guide, a sample kwivo.ini, the licence,
#                              the sample sources
#   Kwivo-<version>-setup.exe  the per-user installer
#   SHA256SUMS
# Two runs from one commit give the same bytes: the program carries no link
# time, every file takes the commit's time, the zip a fixed order and fixed
# attributes.
#   package.sh [BUILD_DIR [OUT_DIR]]
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$KWIVO_ROOT"
build=${1:-build/release}
out=${2:-build/packages}

kwivo_install
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C

say "release build in $build"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DKWIVO_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target kwivo
version=$(sed -n 's/^#define KWIVO_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/version.h")
[ -n "$version" ] || { echo "no version in $build/generated/version.h" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
crlf() { sed 's/\r*$/\r/'; }
cp "$build/bin/kwivo.exe" "$stage/kwivo.exe"
# The user's part of the README, and its sample settings block.
awk '/^## /{on = ($0 == "## Using Kwivo")} on' README.md | crlf >"$stage/kwivo-guide.txt"
awk '/^```/{on = ($0 == "```ini"); next} on' README.md | crlf >"$stage/kwivo.sample.ini"
crlf <LICENSE >"$stage/LICENSE.txt"
crlf <packaging/kwivo.recommended.ini >"$stage/kwivo.recommended.ini"
cp src/resources/kwivo.ico "$stage/kwivo.ico"
mkdir "$stage/sources"
for sample in processes.cmd windows.ps1; do crlf <"packaging/sources/$sample" >"$stage/sources/$sample"; done
chmod 644 "$stage"/*.* "$stage"/sources/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/* "$stage"/sources/*

mkdir -p "$out"
out=$(cd "$out" && pwd)
zip_name=Kwivo-$version-win64.zip
setup_name=Kwivo-$version-setup.exe
rm -f "$out/$zip_name" "$out/$setup_name" "$out/SHA256SUMS"

say "packages of Kwivo $version in $out"
(cd "$stage" && zip -q -X -D -9 "$out/$zip_name" kwivo.exe kwivo-guide.txt kwivo.sample.ini LICENSE.txt \
    sources/processes.cmd sources/windows.ps1)
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$out/$setup_name" packaging/kwivo.nsi
(cd "$out" && sha256sum "$zip_name" "$setup_name" >SHA256SUMS)
ls -l "$out"
