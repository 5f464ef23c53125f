#!/usr/bin/env bash
# Runs the initialization-file sequence (ini_sequence) natively and, from the
# Windows build (see wine_env.sh), under Wine, where the profile functions do
# the work, and compares the two settings files and the two read reports byte
# for byte.
#   ini_same_bytes.sh SOURCE_DIR NATIVE_PROGRAM OUTPUT_DIR
set -uo pipefail
src=$(cd "$1" && pwd)
native=$2
mkdir -p "$3"
out=$(cd "$3" && pwd)
state=$(dirname "$out")
# shellcheck source=wine_env.sh
source "$src/tests/windows/wine_env.sh" || exit 2
exe=$SONVIO_WINDOWS_BUILD/bin/ini_sequence.exe

rm -rf "$out/native" "$out/wine"
mkdir -p "$out/native" "$out/wine"
status=0
"$native" "$out/native/Sonvio.ini" "$out/native/reads.txt" || {
  echo "FAIL: native run (status $?)"
  status=1
}
timeout 300 xvfb-run -a "$SONVIO_WINE" "$exe" "Z:$out/wine/Sonvio.ini" "Z:$out/wine/reads.txt" || {
  echo "FAIL: Wine run (status $?)"
  status=1
}
sonvio_wine_stop

for name in Sonvio.ini reads.txt; do
  echo "--- $name (Wine)"
  cat -A "$out/wine/$name" 2> /dev/null
  if ! cmp -s "$out/native/$name" "$out/wine/$name"; then
    echo "FAIL: $name differs (native, then Wine):"
    diff <(cat -A "$out/native/$name" 2>&1) <(cat -A "$out/wine/$name" 2>&1)
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "the settings file and the reads are the same on both platforms"
exit $status
