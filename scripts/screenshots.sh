#!/usr/bin/env bash
# Builds the Windows binaries and photographs both panels under Wine (the
# 32-bit build where this kernel runs it, see tests/windows/wine_env.sh), each
# in a 1280x800 frame after a short tour that shows it working: the README's
# pictures docs/gen1.png and docs/gen2.png (and build/screenshots/, with
# backend.png, the Windows backend's own test form with every kind).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows
bash tests/windows/cross_build.sh .
SONVIO_TAKING_PICTURES=1 bash tests/windows/wine_smoke.sh . build/screenshots
mkdir -p docs
for shot in gen1 gen2; do
  # A window's picture has fewer than 256 colours: a palette keeps it exact
  # and small, and without time stamps a picture taken again is the same file.
  convert "build/screenshots/$shot.png" -strip -define png:exclude-chunks=date,time \
    "PNG8:docs/$shot.png"
  echo "picture: docs/$shot.png"
done
