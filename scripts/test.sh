#!/usr/bin/env bash
# Builds everything with the sanitizers and runs every test, in a hostile
# environment (scripts/hostile-env.sh): the run proves that no test depends
# on the user's settings, the build's bin folder or a fixed port. Then the
# release preset, tests included: optimised code meets other faults (and
# other compiler warnings). Its test run leaves out the Windows cross builds
# and their Wine runs, which do not depend on the preset and ran above.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows
cmake --preset default
cmake --build --preset default -j"$(nproc)"
bash scripts/hostile-env.sh build/default/bin ctest --preset default -j"$(nproc)"
cmake --preset release
cmake --build --preset release -j"$(nproc)"
bash scripts/hostile-env.sh build/release/bin ctest --preset release -j"$(nproc)"
