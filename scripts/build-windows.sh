#!/usr/bin/env bash
# Cross-builds the Windows programs on Debian 12 and packs them:
# build-windows/Vimbrel-windows-x64.zip with vimbrel.exe, vimbrel-cli.exe, Img\,
# Vimbrel.html and README.txt. Installs mingw-w64, nasm and Wine and builds
# the libraries from Debian's sources first (scripts/windows-deps.sh).
# With --tests the unit tests are built too (scripts/test-windows.sh runs them).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/windows-deps.sh
tests=OFF
[ "${1:-}" = "--tests" ] && tests=ON
cmake --preset windows -G Ninja -DVIMBREL_TESTS=$tests >/dev/null
cmake --build --preset windows
stage=build-windows/zip/Vimbrel
rm -rf build-windows/zip
mkdir -p "$stage"
cp build-windows/build/Vimbrel/vimbrel.exe build-windows/build/Vimbrel/vimbrel-cli.exe "$stage/"
cp -r Img "$stage/Img"
cp app/help/Vimbrel.html "$stage/"
# Windows' own line ends for the notes.
sed 's/$/\r/' packaging/windows/README.txt >"$stage/README.txt"
rm -f build-windows/Vimbrel-windows-x64.zip
(cd build-windows/zip && zip -qr -X ../Vimbrel-windows-x64.zip Vimbrel)
echo "build-windows/Vimbrel-windows-x64.zip"
