#!/usr/bin/env bash
# Builds everything with the sanitizers and runs every test, in a hostile
# environment (scripts/hostile-env.sh): the run proves that no test depends
# on the user's settings, the build's bin folder or a fixed port.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows
cmake --preset default
cmake --build --preset default -j"$(nproc)"
bash scripts/hostile-env.sh build/default/bin ctest --preset default -j"$(nproc)"
