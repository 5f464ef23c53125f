#!/usr/bin/env bash
# The Windows transport's COM-port path under Wine: the native simulated
# handset serves its AT interface on a pseudo-terminal (echo on, unsolicited
# lines between answers), the Wine prefix maps COM5 to it
# ($WINEPREFIX/dosdevices/com5 -> /dev/pts/N), and the Windows benchora.exe
# runs the second-generation tour with --at-server COM5. The transcript must
# equal the TCP run's (tests/e2e/gen2_tour.expected) apart from the first
# line, which names the AT server; benchora.exe --list-ports must list COM5
# as the registry holds it.
#   wine_com_tour.sh SOURCE_DIR OUTPUT_DIR FMR_SIM
set -uo pipefail
src=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
fmr_sim=$3
state=$(dirname "$out")
# shellcheck source=wine_env.sh
source "$src/tests/windows/wine_env.sh" || exit 2
bin=$SONVIO_WINDOWS_BUILD/bin
port=com5

if [ "${4:-}" != "--on-display" ]; then
  rm -rf "${out:?}"/*
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$src" "$out" "$fmr_sim" --on-display
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# As a handset's port talks: echo on, and now and then an unsolicited line
# between two answers (after every 3rd), which is no part of any reply.
"$fmr_sim" --pty --echo on --unsolicited 3 > "$out/fmr-sim.txt" 2>&1 &
sim=$!
link=$WINEPREFIX/dosdevices/$port
saved=
cleanup() {
  sonvio_wine_stop
  kill "$sim" 2> /dev/null
  wait "$sim" 2> /dev/null
  rm -f "$link"
  [ -n "$saved" ] && mv "$saved" "$link"
}
trap cleanup EXIT
device=
for _ in $(seq 100); do
  device=$(sed -n 's/^fmr-sim: serving on //p' "$out/fmr-sim.txt")
  [ -n "$device" ] && break
  sleep 0.05
done
if [ -z "$device" ]; then
  echo "FAIL: the simulator did not start:"
  cat "$out/fmr-sim.txt"
  exit 1
fi

# A new prefix gets its folders first; the Wine server is stopped so that
# the next start finds the port mapping (and lists it among the ports).
[ -d "$WINEPREFIX/dosdevices" ] || "$SONVIO_WINE" wineboot -i > /dev/null 2>&1
sonvio_wine_stop
if [ -e "$link" ] || [ -L "$link" ]; then
  saved=$out/$port.saved
  mv "$link" "$saved"
fi
ln -s "$device" "$link"
echo "COM5 -> $device ($SONVIO_WINE_ARCH build)"

# Wine fills the registry's list of serial ports from the devices it finds
# itself (/dev/ttyS*, ttyUSB*, ttyACM*), not from a mapping made by hand; so
# COM5 is entered as a Windows port driver enters its port, and the listing
# must be what the registry holds, as Wine's reg tool shows it.
serialcomm='HKLM\HARDWARE\DEVICEMAP\SERIALCOMM'
"$SONVIO_WINE" reg add "$serialcomm" /v '\Device\Serial4' /d COM5 /f > /dev/null 2>&1 ||
  fail "cannot enter COM5 in $serialcomm"
timeout 60 "$SONVIO_WINE" "$bin/benchora.exe" --list-ports 2> /dev/null | tr -d '\r' \
  > "$out/list-ports.txt"
"$SONVIO_WINE" reg query "$serialcomm" 2> /dev/null | tr -d '\r' |
  sed -nE 's/^ +(\\[^ ]+) +REG_SZ +(.*)$/\2  device \1/p' | sort -V > "$out/registry.txt"
sed 's/^/  /' "$out/list-ports.txt"
grep -q '^COM5  ' "$out/list-ports.txt" || fail "benchora.exe --list-ports does not list COM5"
diff "$out/registry.txt" "$out/list-ports.txt" > /dev/null ||
  fail "benchora.exe --list-ports differs from the registry: $(cat "$out/registry.txt")"
"$SONVIO_WINE" reg delete "$serialcomm" /v '\Device\Serial4' /f > /dev/null 2>&1

# The tour, from no saved settings, at the tours' fixed clock.
rm -f "$WINEPREFIX/drive_c/windows/Sonvio.ini"
cd "$src" || exit 1
start=$(date +%s%N)
SONVIO_CLOCK=1796000000 timeout 300 "$SONVIO_WINE" "$bin/benchora.exe" --chip gen2 --at-server COM5 \
  --strict --script tours/gen2.txt --output "Z:$out/com_tour.txt" > /dev/null 2> "$out/com_tour.err" ||
  fail "benchora.exe exited with status $?"
echo "COM tour under Wine: $((($(date +%s%N) - start) / 1000000)) ms"

# The Windows transcript's lines end in CR LF; pixel positions are left out
# as the Linux comparison leaves them out.
comparable() {
  tr -d '\r' < "$1" | sed -E 's/ bounds=-?[0-9]+,-?[0-9]+,[0-9]+,[0-9]+//g' | tail -n +2
}
first=$(head -n 1 "$out/com_tour.txt" 2> /dev/null | tr -d '\r')
[ "$first" = "benchora: AT server COM5 (from --at-server; the embedded one is not started)" ] ||
  fail "first line: $first"
expected=$src/tests/e2e/gen2_tour.expected
if ! diff <(tail -n +2 "$expected") <(comparable "$out/com_tour.txt") > "$out/diff.txt"; then
  fail "the COM tour differs from the TCP transcript (< Linux, > Wine):"
  head -40 "$out/diff.txt"
  cat "$out/com_tour.err"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures Wine COM tour check(s) failed"
  exit 1
fi
echo "Wine COM tour passed: $(wc -l < "$expected") lines as over TCP"
