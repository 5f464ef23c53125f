#!/usr/bin/env bash
# Builds the release preset, runs every benchmark (Google Benchmark, five
# repetitions each, medians) and prints one table: each figure beside its
# baseline, their ratio, the goal and whether it is met.
#   bench.sh [--out FILE.md]   also write the table to FILE.md
set -euo pipefail
cd "$(dirname "$0")/.."
out=""
if [ "${1:-}" = "--out" ]; then out=$2; fi
bash scripts/install-deps.sh
command -v python3 >/dev/null || {
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends python3
}
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" \
  --target gen1_panel_bench gen2_exchange_bench at_decode_bench ini_save_bench tessic
bin=build/release/bin
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
for bench in gen1_panel_bench gen2_exchange_bench at_decode_bench ini_save_bench; do
  echo "running $bench ..." >&2
  "$bin/$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=json --benchmark_out="$results/$bench.json" \
    --benchmark_out_format=json >/dev/null
done
# The exchange pair once more with the process on one core: a loopback round
# trip then costs the same two task switches every time instead of
# wandering with where the scheduler puts the server's thread, which leaves
# the plug-in's own share of an exchange to compare.
if command -v taskset >/dev/null; then
  echo "running gen2_exchange_bench on one core ..." >&2
  taskset -c 0 "$bin/gen2_exchange_bench" --benchmark_filter='BM_Gen2Exchange|BM_RawTcpExchange' \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=json --benchmark_out="$results/gen2_exchange_bench.one_core.json" \
    --benchmark_out_format=json >/dev/null
fi
python3 scripts/bench_table.py "$results" | tee ${out:+"$out"}
