#!/usr/bin/env bash
# Runs the 64-bit Windows build under Wine on a virtual X display: the host
# stand-in benchora.exe shows each panel as an MDI child of its frame and
# answers automation commands, and the backend's own test program checks
# the native controls. Saves PNG screenshots (gen1.png, gen2.png,
# backend.png) into OUTPUT_DIR.
#   wine_smoke.sh SOURCE_DIR OUTPUT_DIR
set -uo pipefail
src=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
bin=$src/build/windows-x64/bin
export WINEPREFIX=${WINEPREFIX:-$(dirname "$out")/wine-prefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="  # no Mono or Gecko installer prompts

if [ "${3:-}" = "--on-display" ]; then
  # Windows draw their own title bars (there is no window manager), so the
  # screenshots show the captions.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null 2>&1
  status=0
  for chip in gen1 gen2; do
    timeout 120 wine "$bin/benchora.exe" --chip "$chip" --strict \
      --script "Z:$src/tests/windows/$chip.script" --output "Z:$out/$chip.txt" \
      --screenshot "Z:$out/$chip.bmp" > /dev/null 2>&1 || status=1
  done
  timeout 120 wine "$bin/backend_demo.exe" "Z:$out/backend.bmp" > "$out/backend.txt" 2>&1 ||
    status=1
  wineserver -k 2> /dev/null
  exit $status
fi

rm -f "$out"/*.txt "$out"/*.bmp "$out"/*.png
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$src" "$out" --on-display
run_status=$?

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
expect_line() {  # FILE TEXT: some line of FILE contains TEXT
  grep -qF -- "$2" "$1" 2> /dev/null || fail "$(basename "$1") lacks: $2"
}

caption='caption="Sonvio - Version: 6.0.0.0"'
help='help="SonvioHelp.chm::/SonvioHelp/Sonvio.html#SONVIO"'
for chip in gen1 gen2; do
  transcript=$out/$chip.txt
  form=KelboFMRGUI
  [ "$chip" = gen2 ] && form=frm_DruskGUI
  echo "--- $chip transcript"
  cat "$transcript" 2> /dev/null
  expect_line "$transcript" "CanRun: 1"
  expect_line "$transcript" "MDI child: Sonvio - Version: 6.0.0.0"
  expect_line "$transcript" "> get $form"
  expect_line "$transcript" "kind=Form enabled=1 visible=1 $caption $help"
  expect_line "$transcript" "screenshot: "
done
expect_line "$out/gen1.txt" "MDI child: Sonvio - Version: 6.0.0.0 (maximized)"
echo "--- backend test program"
cat "$out/backend.txt" 2> /dev/null
expect_line "$out/backend.txt" " passed, 0 failed"

for shot in gen1 gen2 backend; do
  if ! convert "$out/$shot.bmp" "$out/$shot.png" 2> /dev/null; then
    fail "no screenshot $shot"
    continue
  fi
  # A drawn window has text, frames and controls: many colours, not a few.
  colours=$(convert "$out/$shot.png" -format '%k' info: 2> /dev/null || echo 0)
  [ "${colours:-0}" -ge 8 ] || fail "$shot.png looks empty ($colours colours)"
  rm -f "$out/$shot.bmp"
  echo "screenshot: $out/$shot.png"
done

[ "$run_status" -eq 0 ] || fail "a Windows program failed (status $run_status)"
if [ "$failures" -ne 0 ]; then
  echo "$failures Wine check(s) failed"
  exit 1
fi
echo "Wine smoke test passed"
