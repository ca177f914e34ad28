#!/usr/bin/env bash
# Installs what is missing, builds under the sanitizers and runs every test:
# the unit and window tests through CTest, then the browser tests, then the
# Debian package installed and used as a person would.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake --preset sanitize -G Ninja >/dev/null
cmake --build --preset sanitize
export QT_QPA_PLATFORM=offscreen
ctest --preset sanitize -j2
if [ -f e2e/package.json ]; then
  (cd e2e && npm ci --no-audit --no-fund && npm test)
fi
# Last, the Debian package: built, checked, installed, used and removed.
scripts/package.sh
scripts/check-package.sh
