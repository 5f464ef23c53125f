#!/usr/bin/env bash
# Runs the Windows build (the 32-bit product where this kernel runs it, see
# wine_env.sh) under Wine on a virtual X display and saves
# PNG screenshots into OUTPUT_DIR:
#   panels   the host stand-in benchora.exe, its frame the size of a bench
#            screen (1280x800), shows each panel as an MDI child and runs a
#            short tour of it (gen1.png, gen2.png); with SONVIO_NATIVE_BENCHORA
#            set to the native benchora, the bounds the panels report must be
#            the same in a headless run of the same tour
#   backend  the Win32 backend's GoogleTest program checks the native
#            controls on a form with every kind (backend.png)
# Without PART both run. Exits non-zero when any check fails.
#   wine_smoke.sh SOURCE_DIR OUTPUT_DIR [panels|backend]
set -uo pipefail
src=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
part=${3:-all}
state=$(dirname "$out")
# shellcheck source=wine_env.sh
source "$src/tests/windows/wine_env.sh" || exit 2
bin=$SONVIO_WINDOWS_BUILD/bin

wants() { [ "$part" = all ] || [ "$part" = "$1" ]; }

if [ "${4:-}" = "--on-display" ]; then
  # Windows draw their own title bars (there is no window manager), so the
  # screenshots show the captions.
  "$SONVIO_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null 2>&1
  # The caption buttons are glyphs of the Marlett symbol font; a prefix
  # that cannot find it draws them as the letters "0 1 r".
  fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/marlett.ttf; do
    [ -f "$font" ] && cp -n "$font" "$fonts/"
  done
  status=0
  if wants panels; then
    # The panels start from no saved settings, as the headless run does.
    rm -f "$WINEPREFIX/drive_c/windows/Sonvio.ini"
    for chip in gen1 gen2; do
      timeout 300 "$SONVIO_WINE" "$bin/benchora.exe" --chip "$chip" --strict --frame 1280x800 \
        --script "Z:$src/tests/windows/$chip.script" --output "Z:$out/$chip.txt" \
        --screenshot "Z:$out/$chip.bmp" > /dev/null 2> "$out/$chip.err" || status=1
    done
  fi
  if wants backend; then
    timeout 300 "$SONVIO_WINE" "$bin/win32_backend_test.exe" "--screenshot=Z:$out/backend.bmp" \
      > "$out/backend.txt" 2>&1 || status=1
  fi
  sonvio_wine_stop
  exit $status
fi

case "$part" in
  all) rm -f "$out"/*.txt "$out"/*.bmp "$out"/*.png ;;
  panels) rm -f "$out"/gen[12].* ;;
  backend) rm -f "$out"/backend.* ;;
  *) echo "unknown part: $part" >&2; exit 2 ;;
esac
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$src" "$out" "$part" --on-display
run_status=$?
# The same program without a display: it must say so and name the remedy,
# not only that its window failed.
if wants panels; then
  env -u DISPLAY -u WAYLAND_DISPLAY timeout 300 "$SONVIO_WINE" "$bin/benchora.exe" --chip gen1 \
    -e help > "$out/no-display.txt" 2>&1
  no_display_status=$?
  sonvio_wine_stop
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
expect_line() {  # FILE TEXT: some line of FILE contains TEXT
  grep -qF -- "$2" "$1" 2> /dev/null || fail "$(basename "$1") lacks: $2"
}

# "NAME bounds=X,Y,W,H" for each `get` reply of a transcript that has them
# (the Windows transcript's lines end in CR LF).
bounds_of() {
  tr -d '\r' < "$1" 2> /dev/null |
    awk '/^> get /{name=$3; next}
         name != "" && match($0, /bounds=[0-9,-]+/) {print name, substr($0, RSTART, RLENGTH)}
         {name=""}'
}

picture_slack=32
shots=()
if wants panels; then
  caption='caption="Sonvio - Version: 6.0.0.0"'
  help='help="SonvioHelp.chm::/SonvioHelp/Sonvio.html#SONVIO"'
  for chip in gen1 gen2; do
    transcript=$out/$chip.txt
    form=KelboFMRGUI
    [ "$chip" = gen2 ] && form=frm_DruskGUI
    echo "--- $chip transcript"
    cat "$transcript" 2> /dev/null
    expect_line "$transcript" "CanRun: 1"
    # How the frame shows the panel is a Windows-only note, on standard error.
    expect_line "$out/$chip.err" "MDI child: Sonvio - Version: 6.0.0.0"
    expect_line "$transcript" "> get $form"
    expect_line "$transcript" "kind=Form enabled=1 visible=1 $caption $help"
    expect_line "$transcript" "screenshot: "
  done
  expect_line "$out/gen1.err" "MDI child: Sonvio - Version: 6.0.0.0 (maximized)"
  # Switched on: "FMR ON" is greyed out, the second generation's button reads "Off".
  expect_line "$out/gen1.txt" 'kind=Button enabled=0 visible=1 caption="FMR ON"'
  expect_line "$out/gen1.txt" 'DIALOG Warning: Input Value Out Of Range(76000000 ~ 108000000)'
  expect_line "$out/gen2.txt" 'kind=Button enabled=1 visible=1 caption="Off"'
  echo "--- without a display"
  cat "$out/no-display.txt" 2> /dev/null
  [ "$no_display_status" -eq 1 ] || fail "without a display benchora.exe exited with $no_display_status, not 1"
  expect_line "$out/no-display.txt" "there is no display to draw on (DISPLAY is not set)"
  expect_line "$out/no-display.txt" "xvfb-run -a wine benchora.exe"
  if [ -n "${SONVIO_NATIVE_BENCHORA:-}" ]; then
    for chip in gen1 gen2; do
      config=$(mktemp -d)
      SONVIO_CONFIG_DIR=$config "$SONVIO_NATIVE_BENCHORA" --chip "$chip" --strict \
        --script "$src/tests/windows/$chip.script" > "$out/$chip.headless.txt" 2>&1 ||
        fail "the headless $chip run failed"
      rm -rf "$config"
      wine_bounds=$(bounds_of "$out/$chip.txt")
      [ -n "$wine_bounds" ] || fail "$chip.txt reports no bounds"
      if [ "$wine_bounds" != "$(bounds_of "$out/$chip.headless.txt")" ]; then
        fail "$chip: the bounds under Wine differ from the headless run's"
        diff <(echo "$wine_bounds") <(bounds_of "$out/$chip.headless.txt")
      else
        echo "$chip: $(echo "$wine_bounds" | wc -l) bounds alike under Wine and headless"
      fi
    done
  fi
  shots+=(gen1 gen2)
fi
if wants backend; then
  echo "--- Win32 backend tests"
  cat "$out/backend.txt" 2> /dev/null
  # The program's exit status decides; its summary line shows it ran.
  expect_line "$out/backend.txt" "[  PASSED  ]"
  shots+=(backend)
fi

for shot in "${shots[@]}"; do
  if ! convert "$out/$shot.bmp" "$out/$shot.png" 2> /dev/null; then
    fail "no screenshot $shot"
    continue
  fi
  # A drawn window has text, frames and controls: many colours, not a few.
  colours=$(convert "$out/$shot.png" -format '%k' info: 2> /dev/null || echo 0)
  [ "${colours:-0}" -ge 8 ] || fail "$shot.png looks empty ($colours colours)"
  rm -f "$out/$shot.bmp"
  echo "screenshot: $out/$shot.png"
  # The README's pictures are what this run draws: at most $picture_slack
  # pixels may differ (the text caret blinks: a 1x13-pixel bar, on or off).
  # scripts/screenshots.sh, taking them again, sets SONVIO_TAKING_PICTURES.
  committed=$src/docs/$shot.png
  if [ -f "$committed" ] && [ "$shot" != backend ] && [ -z "${SONVIO_TAKING_PICTURES:-}" ]; then
    differing=$(compare -metric AE "$out/$shot.png" "$committed" null: 2>&1)
    if [[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -le "$picture_slack" ]; then
      echo "$shot.png: $differing pixels differ from docs/$shot.png (at most $picture_slack may)"
    else
      fail "$shot.png differs from docs/$shot.png in ${differing} pixels (at most" \
        "$picture_slack may): run scripts/screenshots.sh and commit the pictures"
    fi
  fi
done

[ "$run_status" -eq 0 ] || fail "a Windows program failed (status $run_status)"
if [ "$failures" -ne 0 ]; then
  echo "$failures Wine check(s) failed"
  exit 1
fi
echo "Wine checks passed ($part)"
