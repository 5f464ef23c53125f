#!/usr/bin/env bash
# Runs a command (the test run) in the environment of a bench PC that has
# been used: settings files full of histories and odd values wherever the
# plug-in could look for one (the home folder's ~/.config/sonvio,
# $XDG_CONFIG_HOME, $SONVIO_CONFIG_DIR), a program folder and a transport
# address exported that lead nowhere, and another AT server holding the
# plug-in's own port 127.0.0.1:27018. A hermetic test passes all the same.
#   hostile-env.sh BIN_DIR COMMAND [ARGS...]   (BIN_DIR holds fmr-sim)
set -euo pipefail
bin=$1
shift
root=$(mktemp -d)
squatter=""
cleanup() {
  [ -n "$squatter" ] && kill "$squatter" 2> /dev/null && wait "$squatter" 2> /dev/null
  rm -rf "$root"
}
trap cleanup EXIT

poison() {
  mkdir -p "$1"
  cat > "$1/Sonvio.ini" << 'INI'
[FM Radio Parameters]
LEFrequency=106300000
CBBandSelection=2
CBTMode=1
LEVolume=3
LERegAddress=0xFFFF
[Register_Address]
0=0x8740
1=0x0001
2=0xBEEF
[Register_Data]
0=0x1234
1=0xFFFF
[AlternativeFreq]
Count=2
INI
}
poison "$root/home/.config/sonvio"
poison "$root/xdg/sonvio"
poison "$root/settings"
mkdir -p "$root/program"
export HOME=$root/home XDG_CONFIG_HOME=$root/xdg SONVIO_CONFIG_DIR=$root/settings
export SONVIO_PROGRAM_DIR=$root/program TESSIC_AT_SERVER=127.0.0.1:27018 TESSIC_TIMEOUT_MS=5

# Another simulated handset on the plug-in's port, as a second benchora or
# a forgotten fmr-sim would be; when something already listens there, that
# one does the same.
"$bin/fmr-sim" --port 27018 > "$root/squatter.log" 2>&1 &
squatter=$!
sleep 0.5
echo "hostile-env: poisoned settings in $root, 127.0.0.1:27018 held"
"$@"
