#!/usr/bin/env bash
# The bench's install, run: makes the release package, unpacks it and, from
# the unpacked folder under Wine, runs the main job's tours and the bench guide's
# getting-started scripts (the second generation's also with --rds) with
# benchora.exe, the plug-in and the transport of the package. Each transcript
# must equal, line for line, the expected file the Linux run is compared with
# (tests/e2e), and the first-generation tour's decode and RSSI logs must equal
# theirs byte for byte.
#   wine_tours.sh SOURCE_DIR OUTPUT_DIR VERSION CPACK
# The package holds the 32-bit build. Where this kernel runs no 32-bit
# program (see wine_env.sh), its programs are replaced by the 64-bit copies
# of the same sources before the run, and the output says so.
set -uo pipefail
src=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
version=$3
cpack=$4
state=$(dirname "$out")
# shellcheck source=wine_env.sh
source "$src/tests/windows/wine_env.sh" || exit 2
scripts=(gen1_tour:gen1:tours/gen1.txt gen2_tour:gen2:tours/gen2.txt
         getting_started_gen1:gen1:docs/getting-started/gen1.txt
         getting_started_gen2:gen2:docs/getting-started/gen2.txt
         getting_started_gen2_rds:gen2:docs/getting-started/gen2.txt:--rds)

if [ "${5:-}" = "--on-display" ]; then
  top=$6
  status=0
  cd "$top" || exit 1
  for entry in "${scripts[@]}"; do
    IFS=: read -r name chip script options <<< "$entry"
    # Each run starts from no saved settings and, for the logs, no logs.
    rm -f "$WINEPREFIX/drive_c/windows/Sonvio.ini" decode_data.log rssi_logging.log
    # shellcheck disable=SC2086 # the options are separate words
    SONVIO_CLOCK=1796000000 timeout 300 "$SONVIO_WINE" ./benchora.exe --chip "$chip" --strict \
      $options --script "$script" --output "Z:$out/$name.txt" > /dev/null 2> "$out/$name.err" || {
      echo "FAIL: $name: benchora.exe exited with status $?"
      status=1
    }
    if [ "$name" = gen1_tour ]; then
      cp decode_data.log "$out/gen1_decode_data.log" 2> /dev/null
      cp rssi_logging.log "$out/gen1_rssi_logging.log" 2> /dev/null
    fi
  done
  sonvio_wine_stop
  exit $status
fi

rm -rf "$out"/*
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! "$cpack" --config "$src/build/windows-i686/CPackConfig.cmake" -B "$out/package" > /dev/null; then
  echo "FAIL: cpack failed"
  exit 1
fi
top=$(bash "$src/tests/windows/unpack_package.sh" "$out/package/Sonvio-$version-win32.zip" \
  "$out/unpacked") || exit 1
if [ "$SONVIO_WINE_ARCH" = i686 ]; then
  echo "Running the package's own 32-bit programs"
else
  echo "This kernel runs no 32-bit program: the package's programs are replaced by the"
  echo "64-bit copies of the same sources (build/windows-x64) for this run"
  for program in "$top"/*.exe "$top"/*.dll; do
    cp "$SONVIO_WINDOWS_BUILD/bin/$(basename "$program")" "$program" ||
      fail "no 64-bit $(basename "$program")"
  done
fi

xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$src" "$out" "$version" "$cpack" \
  --on-display "$top"
[ $? -eq 0 ] || fail "a run failed"

# The Windows transcript's lines end in CR LF; the port of the embedded AT
# server and the pixel positions are masked as the Linux comparison does.
comparable() {
  tr -d '\r' < "$1" |
    sed -E 's/(listening on 127\.0\.0\.1:)[0-9]+/\1PORT/; s/ bounds=-?[0-9]+,-?[0-9]+,[0-9]+,[0-9]+//g'
}
for entry in "${scripts[@]}"; do
  IFS=: read -r name _ <<< "$entry"
  expected=$src/tests/e2e/$name.expected
  if [ ! -s "$out/$name.txt" ]; then
    fail "$name: no transcript"
    cat "$out/$name.err" 2> /dev/null
    continue
  fi
  differing=$(diff "$expected" <(comparable "$out/$name.txt") | grep -c '^[<>]')
  echo "$name: $(wc -l < "$expected") lines, $differing differing from tests/e2e/$name.expected"
  if [ "$differing" -ne 0 ]; then
    fail "$name differs from the Linux transcript (< Linux, > Wine):"
    diff "$expected" <(comparable "$out/$name.txt") | head -40
  fi
done
for log in gen1_decode_data gen1_rssi_logging; do
  if cmp -s "$src/tests/e2e/$log.expected" "$out/$log.log"; then
    echo "$log.log: byte for byte the Linux run's"
  else
    fail "$log.log differs from tests/e2e/$log.expected"
  fi
done

if [ "$failures" -ne 0 ]; then
  echo "$failures Wine tour check(s) failed"
  exit 1
fi
echo "Wine tours passed ($SONVIO_WINE_ARCH build, from the unpacked package)"
