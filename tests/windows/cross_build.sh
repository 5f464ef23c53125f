#!/usr/bin/env bash
# Builds the two Windows presets (the 32-bit product and the 64-bit copy
# that runs under Wine) into build/windows-i686 and build/windows-x64 of
# the source tree. Incremental: a second run only rebuilds what changed.
#   cross_build.sh SOURCE_DIR
set -euo pipefail
cd "$1"
for preset in windows-x64 windows-i686; do
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" > /dev/null
  fi
  cmake --build --preset "$preset" -j2
done
