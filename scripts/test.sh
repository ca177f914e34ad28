#!/usr/bin/env bash
# Installs what is missing, builds under the sanitizers and runs every test:
# the unit and window tests through CTest, then the browser tests in
# Chromium, Firefox ESR and WebKit, then the Windows build's tests under Wine,
# then the Debian package installed and used as a person would.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake --preset sanitize -G Ninja >/dev/null
cmake --build --preset sanitize
# URW's fonts, unpacked (never installed) for the test that fonts installed
# beside the tool's own change no metafile picture.
if [ ! -d build-sanitize/extra-fonts/usr/share/fonts ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  (cd build-sanitize &&
   { apt-get download fonts-urw-base35 >/dev/null 2>&1 ||
     { $sudo apt-get update -qq && apt-get download fonts-urw-base35 >/dev/null; }; } &&
   dpkg-deb -x fonts-urw-base35_*.deb extra-fonts && rm -f fonts-urw-base35_*.deb)
fi
export QT_QPA_PLATFORM=offscreen
ctest --preset sanitize -j2
# The browser tests, in each of the three engines; a browser that cannot
# start fails its run. All three run before the result counts.
(cd e2e && npm ci --no-audit --no-fund)
failed=()
for engine in chromium firefox webkit; do
  echo "== browser tests in $engine"
  (cd e2e && VIMBREL_ENGINE=$engine npm test) || failed+=("$engine")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "browser tests failed in: ${failed[*]}" >&2
  exit 1
fi
# The Windows programs, cross-built, and their tests under Wine.
scripts/test-windows.sh
# Last, the Debian package: built, checked, installed, used and removed.
scripts/package.sh
scripts/check-package.sh
