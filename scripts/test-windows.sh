#!/usr/bin/env bash
# The Windows part of the tests: builds the Windows programs and unit tests
# (scripts/build-windows.sh --tests) and runs the tests under Wine, in a Wine
# prefix of the build's own (build-windows/wine).
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
echo "Windows tests took $(($(date +%s) - start)) s"
