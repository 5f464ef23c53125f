#!/usr/bin/env bash
# Scans the whole band with the first-generation panel against the
# simulated handset and plots the scan log: build/release/rssi_scan.svg and
# the README's picture docs/rssi_scan.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --plot
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target benchora Sonvio fmr-plot
bin=build/release/bin
SONVIO_CONFIG_DIR=$(mktemp -d)
export SONVIO_CONFIG_DIR
trap 'rm -rf "$SONVIO_CONFIG_DIR"' EXIT
"$bin/benchora" --chip gen1 --strict --script tours/gen1_band_scan.txt >/dev/null
"$bin/fmr-plot" -o build/release/rssi_scan.svg "$bin/rssi_logging.log"
mkdir -p docs
bash scripts/plot-png.sh build/release/rssi_scan.svg docs/rssi_scan.png
