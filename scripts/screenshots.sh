#!/usr/bin/env bash
# Builds the Windows binaries and photographs both panels under Wine:
# build/screenshots/gen1.png and gen2.png (and backend.png, the Windows
# backend's own test form with one control of every kind).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows
bash tests/windows/cross_build.sh .
bash tests/windows/wine_smoke.sh . build/screenshots
