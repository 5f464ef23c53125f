#!/usr/bin/env bash
# Soak of the second-generation link: the transport stand-in and the panel
# against the simulated handset (in the soak program's own process, on a
# free loopback port) with a random mix of the handset's faults. Bounded in
# count and in time; prints the figures of both runs and fails on any reply
# taken for another command or any hang beyond the deadline.
#
#   bash scripts/soak.sh [--exchanges N] [--clicks N] [--seconds S]
#                        [--faults SHARE] [--build DIR] [--seed N]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
exchanges=1000000
clicks=300000
seconds=30
faults=0.02
seed=1
build="$root/build/release"
while [[ $# -gt 0 ]]; do
  case "$1" in
    --exchanges) exchanges="$2"; shift 2 ;;
    --clicks) clicks="$2"; shift 2 ;;
    --seconds) seconds="$2"; shift 2 ;;
    --faults) faults="$2"; shift 2 ;;
    --build) build="$2"; shift 2 ;;
    --seed) seed="$2"; shift 2 ;;
    *) echo "usage: $0 [--exchanges N] [--clicks N] [--seconds S] [--faults SHARE] [--build DIR] [--seed N]" >&2
       exit 2 ;;
  esac
done

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake --preset release >/dev/null
fi
cmake --build "$build" -j2 --target tessic-soak tessic >/dev/null

# Hermetic: the panel's settings and program folders of its own.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export SONVIO_CONFIG_DIR="$scratch/config" SONVIO_PROGRAM_DIR="$build/bin"
mkdir -p "$SONVIO_CONFIG_DIR"

status=0
"$build/bin/tessic-soak" transport --count "$exchanges" --seconds "$seconds" \
  --faults "$faults" --seed "$seed" || status=1
"$build/bin/tessic-soak" panel --count "$clicks" --seconds "$seconds" \
  --faults "$faults" --seed "$seed" || status=1
exit "$status"
