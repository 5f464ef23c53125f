#!/usr/bin/env bash
# Sourced by the Wine test scripts after setting `src` (the source tree) and
# `state` (a folder for the Wine prefix): which Windows build runs here and
# the Wine loader that runs it.
#
# A bench installs the 32-bit build, so that is the one run wherever it can
# run: a kernel that executes 32-bit programs and Debian's wine32 installed.
# Some kernels refuse every 32-bit program (scripts/runs-32bit.sh); there
# the 64-bit copy of the same sources runs instead, and the scripts say which
# build they ran. SONVIO_WINE_ARCH=i686
# or x64 chooses.
#
# Sets: SONVIO_WINE_ARCH, SONVIO_WINE (the loader), SONVIO_WINDOWS_BUILD (the
# build folder), WINEPREFIX (one per build kind), WINEDEBUG and
# WINEDLLOVERRIDES; clears the variables a user may have exported that would
# point the programs elsewhere.

if [ -z "${SONVIO_WINE_ARCH:-}" ]; then
  if [ -x /usr/lib/wine/wine ] && bash "$src/scripts/runs-32bit.sh"; then
    SONVIO_WINE_ARCH=i686
  else
    SONVIO_WINE_ARCH=x64
  fi
fi
case "$SONVIO_WINE_ARCH" in
  # Debian's loaders: with wine32 installed, `wine` starts the 32-bit one
  # even for a 64-bit program, so each build gets its own by path.
  i686) SONVIO_WINE=/usr/lib/wine/wine ;;
  x64) SONVIO_WINE=/usr/lib/wine/wine64 ;;
  *)
    echo "SONVIO_WINE_ARCH must be i686 or x64, not $SONVIO_WINE_ARCH" >&2
    return 2
    ;;
esac
[ -x "$SONVIO_WINE" ] || SONVIO_WINE=$(command -v wine)
SONVIO_WINDOWS_BUILD=$src/build/windows-$SONVIO_WINE_ARCH
export SONVIO_WINE_ARCH SONVIO_WINE SONVIO_WINDOWS_BUILD
export WINEPREFIX=${WINEPREFIX:-$state/wine-prefix-$SONVIO_WINE_ARCH}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="  # no Mono or Gecko installer prompts
# The programs run as installed, beside their plug-in and transport, with
# none of the folders or addresses a user may have exported.
unset SONVIO_PROGRAM_DIR SONVIO_CONFIG_DIR TESSIC_AT_SERVER TESSIC_TIMEOUT_MS SONVIO_CLOCK

# Stops the prefix's Wine server (and with it any program left running).
sonvio_wine_stop() {
  local server
  server=$(dirname "$SONVIO_WINE")/wineserver
  [ -x "$server" ] || server=wineserver
  "$server" -k 2> /dev/null || true
}
