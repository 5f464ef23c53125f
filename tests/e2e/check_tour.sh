#!/bin/sh
# Runs a tour with the host stand-in and checks its output:
#   check_tour.sh BENCHORA CHIP SCRIPT EXPECTED
# The run must exit 0, no command may be refused, no command may log
# "Error", and every line of EXPECTED must appear in the output, in order.
set -u
benchora=$1 chip=$2 script=$3 expected=$4
out=$(mktemp)
trap 'rm -f "$out"' EXIT

"$benchora" --chip "$chip" --strict --script "$script" >"$out" 2>&1
rc=$?
if [ $rc -ne 0 ]; then
  cat "$out"
  echo "check_tour: benchora exited with status $rc"
  exit 1
fi
if grep -n -e '^LOG\[0\] Error$' -e '^error: ' "$out"; then
  echo "check_tour: a command failed or was refused"
  exit 1
fi
# Each expected line must be found after the one before it.
awk 'NR == FNR { want[++n] = $0; next }
     i < n && $0 == want[i + 1] { ++i }
     END { if (i < n) { print "check_tour: missing in order: " want[i + 1]; exit 1 } }' \
  "$expected" "$out" || { cat "$out"; exit 1; }
echo "check_tour: $(wc -l <"$expected") expected lines found"
