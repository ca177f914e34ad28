#!/usr/bin/env bash
# The Windows part of the tests: builds the Windows programs and unit tests
# (scripts/build-windows.sh --tests) and runs the tests under Wine, in a Wine
# prefix of the build's own (build-windows/wine); then the browser tests in
# Chromium on this side against vimbrel-cli.exe show --serve under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
scripts/build-windows.sh --tests
export WINEDEBUG=-all WINEPREFIX=$PWD/build-windows/wine
# The first start of a new prefix sets it up; waiting for it here keeps that
# minute out of the first test's time.
wineboot --init >/dev/null 2>&1 || true
wineserver --wait || true
ctest --preset windows -j2
[ -d e2e/node_modules ] || (cd e2e && npm ci --no-audit --no-fund)
(cd e2e && VIMBREL_ENGINE=chromium VIMBREL_CLI="$PWD/../build-windows/build/Vimbrel/vimbrel-cli.exe" \
  node --test viewer.test.mjs names.test.mjs thumbnails.test.mjs server.test.mjs drives.test.mjs)
echo "Windows tests took $(($(date +%s) - start)) s"
