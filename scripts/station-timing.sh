#!/usr/bin/env bash
# The time of a station of N simulated second-generation handsets, each
# served by its own `fmr-sim --pty`, against a station of one, in the same
# run: handsets wait on their links, not on the processor, so eight take
# little longer than one. Prints each run's wall time, the medians and
# their ratio; exits 1 when the ratio is above the goal.
#
#   bash scripts/station-timing.sh [--build DIR] [--handsets N] [--runs R]
#                                  [--goal RATIO]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/release"
handsets=8
runs=3
goal=1.3
while [[ $# -gt 0 ]]; do
  case "$1" in
    --build) build="$2"; shift 2 ;;
    --handsets) handsets="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --goal) goal="$2"; shift 2 ;;
    *) echo "usage: $0 [--build DIR] [--handsets N] [--runs R] [--goal RATIO]" >&2
       exit 2 ;;
  esac
done

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake --preset release >/dev/null
fi
cmake --build "$build" -j2 --target benchora Sonvio tessic fmr-sim >/dev/null
bin="$build/bin"

scratch="$(mktemp -d)"
sims=()
cleanup() {
  if [[ ${#sims[@]} -gt 0 ]]; then kill "${sims[@]}" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
export SONVIO_CONFIG_DIR="$scratch/config"
unset TESSIC_AT_SERVER

for ((n = 1; n <= handsets; n++)); do
  "$bin/fmr-sim" --pty >"$scratch/sim$n.log" 2>&1 &
  sims+=("$!")
done
for _ in $(seq 300); do
  [[ "$(cat "$scratch"/sim*.log | grep -c 'serving on')" == "$handsets" ]] && break
  sleep 0.1
done
for ((n = 1; n <= handsets; n++)); do
  echo "P$n gen2 serial:$(sed -n 's/fmr-sim: serving on //p' "$scratch/sim$n.log")"
done >"$scratch/all.txt"
head -n 1 "$scratch/all.txt" >"$scratch/one.txt"

# Wall seconds of one station run of the station file $1.
station_seconds() {
  local start end
  start=$(date +%s.%N)
  "$bin/benchora" --station "$1" --script "$root/examples/station-check.txt" \
    --out "$scratch/out" --report "$scratch/report.xml" >/dev/null || {
    echo "station $1 failed" >&2
    exit 1
  }
  end=$(date +%s.%N)
  echo "$start $end" | awk '{ printf "%.3f", $2 - $1 }'
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

one=()
all=()
for ((r = 1; r <= runs; r++)); do
  one+=("$(station_seconds "$scratch/one.txt")")
  all+=("$(station_seconds "$scratch/all.txt")")
  echo "run $r: 1 handset ${one[-1]} s, $handsets handsets ${all[-1]} s"
done
m1=$(median "${one[@]}")
mn=$(median "${all[@]}")
ratio=$(awk -v a="$mn" -v b="$m1" 'BEGIN { printf "%.2f", a / b }')
echo "median: 1 handset $m1 s, $handsets handsets $mn s, ratio $ratio (goal at most $goal)"
awk -v r="$ratio" -v g="$goal" 'BEGIN { exit !(r <= g) }'
