#!/usr/bin/env bash
# Installs what is missing, builds the app folder build/Vimbrel/ and starts the tool.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release -G Ninja >/dev/null
cmake --build --preset release
exec build/Vimbrel/vimbrel
