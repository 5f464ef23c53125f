#!/usr/bin/env bash
# The main job: builds the plug-in, the host stand-in, the standalone
# simulated handset and the RDS and scan tools into build/release/bin, tours
# both panels against the simulated handset, runs the example regression
# check with a JUnit report, decodes the RDS the first-generation tour
# received, and scans the band and plots it.
#
# Everything a step prints (the panels' LOG[...] lines, the commands and
# their replies) goes to a file of build/release/tour/; the terminal gets
# one line per step, the files written, and a verdict line:
#   tour: 2 panels, 0 failures
# The exit status is 0 when every step passed, 1 otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j"$(nproc)" --target benchora Sonvio tessic fmr-sim fmr-rds fmr-plot
bin=build/release/bin
out=build/release/tour
rm -rf "$out"
mkdir -p "$out"

# A settings folder of the run's own, so the tours start from no saved
# settings; the program folder is $out, so the panels' own logs
# (decode_data.log, rssi_logging.log) land beside the transcripts.
SONVIO_CONFIG_DIR=$(mktemp -d)
SONVIO_PROGRAM_DIR=$PWD/$out
export SONVIO_CONFIG_DIR SONVIO_PROGRAM_DIR
trap 'rm -rf "$SONVIO_CONFIG_DIR"' EXIT
for file in Sonvio.dll TESSIC.dll; do ln -s "$PWD/$bin/$file" "$out/$file"; done

failures=0
panels=0
# step FILE LABEL COMMAND...: runs COMMAND with its output in $out/FILE and
# prints LABEL with the step's verdict.
step() {
  local file=$1 label=$2 status=0
  shift 2
  "$@" > "$out/$file" 2>&1 || status=$?
  local commands wrong
  commands=$(grep -c '^> ' "$out/$file" || true)
  wrong=$(grep '^!! ' "$out/$file" | grep -vc '(expected)$' || true)
  if [ "$status" -eq 0 ]; then
    printf 'tour: %-55s ok  %4d commands, %d went wrong\n' "$label" "$commands" "$wrong"
  else
    printf 'tour: %-55s FAILED  exit status %d, see %s\n' "$label" "$status" "$out/$file"
    failures=$((failures + 1))
  fi
}

echo "=== tour: both panels against the simulated handset; output in $out/ ==="
for chip in gen1 gen2; do
  step "$chip.txt" "$chip panel (tours/$chip.txt)" \
    "$bin/benchora" --chip "$chip" --strict --script "tours/$chip.txt"
  panels=$((panels + 1))
done

step regression-check.txt "regression check (examples/regression-check.txt)" \
  "$bin/benchora" --chip gen1 --rds --strict --script examples/regression-check.txt \
  --report "$out/regression-check.xml" --csv "$out/regression-check.csv"
passed=$(grep -c '^PASS ' "$out/regression-check.txt" || true)
failed=$(grep -c '^FAIL ' "$out/regression-check.txt" || true)
# A failed check fails its step (benchora exits with 1): named here.
echo "tour:   checks: $passed passed, $failed failed"
grep '^FAIL ' "$out/regression-check.txt" | sed 's/^/tour:     /' || true

if "$bin/fmr-rds" --summary "$out/decode_data.log" > "$out/rds-summary.txt" 2>&1; then
  echo "tour: RDS received by the gen1 tour: $(grep -E '^(PI|PS) ' "$out/rds-summary.txt" |
    tr -s ' ' | paste -sd, | sed 's/,/, /')"
else
  echo "tour: fmr-rds could not decode $out/decode_data.log: see $out/rds-summary.txt"
  failures=$((failures + 1))
fi

step band-scan.txt "RSSI scan of the band (tours/gen1_band_scan.txt)" \
  "$bin/benchora" --chip gen1 --strict --script tours/gen1_band_scan.txt
if "$bin/fmr-plot" -o "$out/rssi_scan.svg" "$out/rssi_logging.log" > "$out/plot.txt" 2>&1; then
  echo "tour:   $(($(wc -l < "$out/rssi_logging.log") - 1)) channels scanned, plotted"
else
  echo "tour: fmr-plot failed: see $out/plot.txt"
  failures=$((failures + 1))
fi

echo "files written:"
for file in gen1.txt gen2.txt regression-check.txt regression-check.xml regression-check.csv \
  decode_data.log rds-summary.txt band-scan.txt rssi_logging.log rssi_scan.svg; do
  [ -f "$out/$file" ] && printf '  %-40s %6d lines\n' "$out/$file" "$(wc -l < "$out/$file")"
done
echo "tour: $panels panels, $failures failures"
[ "$failures" -eq 0 ]
