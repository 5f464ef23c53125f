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
  --target gen1_panel_bench gen2_exchange_bench at_decode_bench ini_save_bench \
  serial_exchange_bench rds_decode_bench tessic
bin=build/release/bin
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
# run NAME JSON [OPTION...]
run() {
  local bench=$1 json=$2
  shift 2
  "$bin/$bench" "$@" --benchmark_report_aggregates_only=true \
    --benchmark_format=json --benchmark_out="$results/$json" \
    --benchmark_out_format=json >/dev/null
}
for bench in gen1_panel_bench at_decode_bench ini_save_bench serial_exchange_bench \
  rds_decode_bench; do
  echo "running $bench ..." >&2
  run $bench $bench.json --benchmark_repetitions=5
done
echo "running gen2_exchange_bench ..." >&2
run gen2_exchange_bench gen2_waiting.json --benchmark_repetitions=5 \
  --benchmark_filter=BM_ExchangeWaitingForDelayedReply
# The exchanges and their raw baselines take turns, a hundred short
# repetitions each in a random order, so that a drift of the machine during
# the run weighs on all alike instead of on whichever ran last. On two cores
# a repetition's round trip is either about 47 or about 60 µs (the virtual
# machine's cross-core wake-up); thirty repetitions left the medians on
# either side of that split from run to run.
run gen2_exchange_bench gen2_exchange.json --benchmark_filter='^BM_(Gen2|RawTcp)Exchange' \
  --benchmark_repetitions=100 --benchmark_min_time=0.02 --benchmark_enable_random_interleaving=true
python3 scripts/bench_table.py "$results" | tee ${out:+"$out"}
