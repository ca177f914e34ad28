#!/usr/bin/env bash
# Builds the optimised benchmark and runs it: the Show command's small images
# against the plain loop, the decoder's floors and the tools a user would
# script instead (arguments go to show_bench, e.g. --quick, --repeat 3);
# then the viewer server against python3 -m http.server and nginx.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --bench
cmake --preset bench -G Ninja >/dev/null
cmake --build --preset bench -j"$(nproc)" --target show_bench vimbrel-cli
build-bench/bench/show_bench "$@"
python3 bench/server_bench.py --cli build-bench/Vimbrel/vimbrel-cli
