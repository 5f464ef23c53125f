#!/usr/bin/env bash
# benchora.exe --station under Wine: the same code path as on Linux, its
# handsets started with CreateProcessW. Two stations: two first-generation
# simulated handsets (the second with its RSSI faulted low) with the
# regression check, and two second-generation handsets (the embedded
# simulator and the native fmr-sim over TCP) with the station check. Each
# station's merged JUnit report is read by the CI report parser, and each
# first-generation handset must have its own RDS log in its own folder.
#   wine_station.sh SOURCE_DIR OUTPUT_DIR FMR_SIM PYTHON3
set -uo pipefail
src=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
fmr_sim=$3
python=$4
state=$(dirname "$out")
# shellcheck source=wine_env.sh
source "$src/tests/windows/wine_env.sh" || exit 2
bin=$SONVIO_WINDOWS_BUILD/bin

if [ "${5:-}" != "--on-display" ]; then
  rm -rf "${out:?}"/*
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$src" "$out" "$fmr_sim" "$python" \
    --on-display
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

"$fmr_sim" --port 0 > "$out/fmr-sim.txt" 2>&1 &
sim=$!
cleanup() {
  sonvio_wine_stop
  kill "$sim" 2> /dev/null
  wait "$sim" 2> /dev/null
}
trap cleanup EXIT
address=
for _ in $(seq 100); do
  address=$(sed -n 's/^fmr-sim: AT server listening on //p' "$out/fmr-sim.txt")
  [ -n "$address" ] && break
  sleep 0.05
done
[ -n "$address" ] || { echo "FAIL: the simulator did not start"; cat "$out/fmr-sim.txt"; exit 1; }

# What the report parser reads of a station's JUnit file: the suites' lines.
suites() {
  "$python" "$src/tests/e2e/junit_summary.py" "$1" 2>&1 | grep '^suite '
}

cd "$src" || exit 1
# Other Wine runs of this build (a single handset's tour) write their RDS log
# beside benchora.exe; what counts is that the station leaves it as it was.
beside() { sha1sum "$bin/decode_data.log" 2> /dev/null || echo none; }
beside_before=$(beside)
printf 'A1 gen1 sim\r\nA2 gen1 sim --fault 0x08:value=rssi:12\r\n' > "$out/gen1.txt"
timeout 300 "$SONVIO_WINE" "$bin/benchora.exe" --station "Z:$out/gen1.txt" --rds \
  --script examples/regression-check.txt --out "Z:$out/gen1" --report "Z:$out/gen1.xml" \
  --csv "Z:$out/gen1.csv" > "$out/gen1.log" 2>&1
status=$?
[ "$status" = 1 ] || fail "the first-generation station exited with $status, not 1"
expected="suite A1: 6 tests, 0 failures, 0 errors, 0 skipped
suite A2: 6 tests, 1 failures, 0 errors, 0 skipped"
[ "$(suites "$out/gen1.xml")" = "$expected" ] ||
  fail "the first-generation station's report: $(suites "$out/gen1.xml")"
for name in A1 A2; do
  grep -q C204 "$out/gen1/$name/decode_data.log" 2> /dev/null ||
    fail "$name has no RDS log of its own"
done
[ "$(beside)" = "$beside_before" ] || fail "a handset wrote its RDS log beside benchora.exe"
[ "$(tr -d '\r' < "$out/gen1.csv" | grep -c ',A2$')" -gt 0 ] || fail "no CSV row of A2"

printf 'B1 gen2 sim\r\nB2 gen2 %s\r\n' "$address" > "$out/gen2.txt"
timeout 300 "$SONVIO_WINE" "$bin/benchora.exe" --station "Z:$out/gen2.txt" \
  --script examples/station-check.txt --out "Z:$out/gen2" --report "Z:$out/gen2.xml" \
  > "$out/gen2.log" 2>&1
status=$?
[ "$status" = 0 ] || fail "the second-generation station exited with $status, not 0"
expected="suite B1: 3 tests, 0 failures, 0 errors, 0 skipped
suite B2: 3 tests, 0 failures, 0 errors, 0 skipped"
[ "$(suites "$out/gen2.xml")" = "$expected" ] ||
  fail "the second-generation station's report: $(suites "$out/gen2.xml")"

if [ "$failures" -ne 0 ]; then
  echo "$failures Wine station check(s) failed ($SONVIO_WINE_ARCH build); the stations printed:"
  cat "$out/gen1.log" "$out/gen2.log"
  exit 1
fi
echo "Wine stations passed ($SONVIO_WINE_ARCH build)"
