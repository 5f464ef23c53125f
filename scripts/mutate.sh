#!/usr/bin/env bash
# Plants each fault of tests/mutation/faults.tsv in a copy of the tree, one
# at a time, and tells how many the test suite catches, by area.
#   mutate.sh [--area AREA]... [--only N]... [--check] [--results FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
exec python3 scripts/mutate.py "$@"
