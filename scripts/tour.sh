#!/usr/bin/env bash
# The main job: builds the plug-in, the host stand-in, the standalone
# simulated handset and the RDS and scan tools into build/release/bin, tours
# both panels against the simulated handset, decodes the RDS the
# first-generation tour received, and scans the band and plots it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j"$(nproc)" --target benchora Sonvio tessic fmr-sim fmr-rds fmr-plot
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

echo "=== RDS received during the gen1 tour: fmr-rds --summary $bin/decode_data.log ==="
"$bin/fmr-rds" --summary "$bin/decode_data.log"

echo "=== RSSI scan of the whole band (tours/gen1_band_scan.txt) ==="
"$bin/benchora" --chip gen1 --strict --script tours/gen1_band_scan.txt \
  --output build/release/band_scan.txt >/dev/null
echo "transcript: build/release/band_scan.txt ($(wc -l <build/release/band_scan.txt) lines)"
"$bin/fmr-plot" -o build/release/rssi_scan.svg "$bin/rssi_logging.log"
echo "plot: build/release/rssi_scan.svg"
