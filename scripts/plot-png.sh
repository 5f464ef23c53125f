#!/usr/bin/env bash
# Turns an SVG (such as fmr-plot's RSSI scan plot) into a PNG with
# rsvg-convert, installing it when missing.
#   plot-png.sh IN.svg [OUT.png] [WIDTH]
# OUT.png defaults to IN with .png; WIDTH (pixels) defaults to the SVG's own.
set -euo pipefail

if [ $# -lt 1 ] || [ "$1" = "--help" ] || [ "$1" = "-h" ]; then
  sed -n '2,5s/^# \{0,1\}//p' "$0"
  [ $# -lt 1 ] && exit 2
  exit 0
fi
in=$1
out=${2:-${in%.svg}.png}
width=${3:-}
if [ ! -f "$in" ]; then
  echo "plot-png.sh: no such file: $in" >&2
  exit 2
fi
if ! command -v rsvg-convert >/dev/null; then
  bash "$(dirname "$0")/install-deps.sh" --plot
fi
args=(--format png --background-color white --output "$out")
[ -n "$width" ] && args+=(--width "$width" --keep-aspect-ratio)
rsvg-convert "${args[@]}" "$in"
echo "$out"
