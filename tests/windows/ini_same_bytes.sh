#!/usr/bin/env bash
# Runs the initialization-file sequence (ini_sequence) natively and, from the
# 64-bit Windows build, under Wine, where the profile functions do the work,
# and compares the two settings files and the two read reports byte for byte.
#   ini_same_bytes.sh SOURCE_DIR NATIVE_PROGRAM OUTPUT_DIR
set -uo pipefail
src=$(cd "$1" && pwd)
native=$2
mkdir -p "$3"
out=$(cd "$3" && pwd)
exe=$src/build/windows-x64/bin/ini_sequence.exe
export WINEPREFIX=${WINEPREFIX:-$(dirname "$out")/wine-prefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="  # no Mono or Gecko installer prompts
# The programs run as installed, beside their plug-in and transport, with
# none of the folders or addresses a user may have exported.
unset SONVIO_PROGRAM_DIR SONVIO_CONFIG_DIR TESSIC_AT_SERVER TESSIC_TIMEOUT_MS

rm -rf "$out/native" "$out/wine"
mkdir -p "$out/native" "$out/wine"
status=0
"$native" "$out/native/Sonvio.ini" "$out/native/reads.txt" || {
  echo "FAIL: native run (status $?)"
  status=1
}
timeout 120 xvfb-run -a wine "$exe" "Z:$out/wine/Sonvio.ini" "Z:$out/wine/reads.txt" || {
  echo "FAIL: Wine run (status $?)"
  status=1
}
wineserver -k 2> /dev/null

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
