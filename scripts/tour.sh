#!/usr/bin/env bash
# The main job: builds the plug-in, the host stand-in and the standalone
# simulated handset into build/release/bin, then tours both panels against
# the simulated handset.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j"$(nproc)" --target benchora Sonvio tessic fmr-sim
bin=build/release/bin
# A settings folder of the run's own, so the tour starts from no saved settings.
SONVIO_CONFIG_DIR=$(mktemp -d)
export SONVIO_CONFIG_DIR
trap 'rm -rf "$SONVIO_CONFIG_DIR"' EXIT
for chip in gen1 gen2; do
  echo "=== $chip panel ==="
  script=tours/$chip.txt
  "$bin/benchora" --chip "$chip" --strict --script "$script"
done
