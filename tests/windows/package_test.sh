#!/usr/bin/env bash
# Makes the release package of the 32-bit Windows build (build/windows-i686)
# into a temporary folder, unpacks it and checks it: the whole listing, that
# every program is a 32-bit one needing no MinGW runtime DLL, that every file
# but INSTALL.txt is the build's or the source tree's own, and that
# INSTALL.txt has CR LF line ends, names every program it ships and says
# what a bench engineer needs first (the transport's links, the port list, a
# check with a report, Wine's display and fonts).
#   package_test.sh SOURCE_DIR VERSION CPACK [BUILD_DIR]
# BUILD_DIR: another i686 build of SOURCE_DIR to package instead.
set -uo pipefail
src=$(cd "$1" && pwd)
version=$2
cpack=$3
build=$(cd "${4:-$src/build/windows-i686}" && pwd)
name=Sonvio-$version-win32

work=$(mktemp -d "${TMPDIR:-/tmp}/sonvio-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# What `cmake --build build/windows-i686 --target package` runs, with the
# package written here instead of into the build folder.
if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$work/out"; then
  echo "FAIL: cpack failed"
  exit 1
fi
zip=$work/out/$name.zip
if [ ! -f "$zip" ]; then
  echo "FAIL: no $name.zip; the package folder holds: $(ls "$work/out")"
  exit 1
fi
top=$(bash "$src/tests/windows/unpack_package.sh" "$zip" "$work/unpacked") || exit 1
[ "$(basename "$top")" = "$name" ] || fail "the top folder is $(basename "$top"), not $name"

# The help file ships when the build has one (it needs the help compiler).
help=
[ -f "$build/bin/SonvioHelp.chm" ] && help=SonvioHelp.chm
# The examples and the guides are whatever the source tree holds of them.
examples=$(cd "$src" && find examples -maxdepth 1 -name '*.txt' -printf '%p\n')
guides=$(cd "$src" && find docs -maxdepth 1 -name '*.md' -printf '%p\n')
[ -n "$examples" ] && [ -n "$guides" ] || fail "no examples/*.txt or docs/*.md in $src"
expected=$(printf '%s\n' INSTALL.txt README.md Sonvio.dll $help TESSIC.dll benchora.exe \
  docs/ docs/getting-started/ docs/getting-started/gen1.txt docs/getting-started/gen2.txt \
  $guides examples/ $examples \
  fmr-plot.exe fmr-rds.exe fmr-sim.exe \
  tours/ tours/gen1.txt tours/gen1_band_scan.txt tours/gen2.txt tours/rds_replay.log |
  LC_ALL=C sort)
for wanted in README.md docs/bench-guide.md docs/windows.md examples/regression-check.txt; do
  grep -qxF "$wanted" <<< "$expected" || fail "the source tree lacks $wanted"
done
listing=$(cd "$top" && find . -mindepth 1 \( -type d -printf '%P/\n' \) -o -printf '%P\n' |
  LC_ALL=C sort)
if [ "$listing" != "$expected" ]; then
  fail "the package's files differ from the expected listing (- expected, + packaged):"
  diff <(echo "$expected") <(echo "$listing") | grep '^[<>]' | sed 's/^</-/; s/^>/+/'
fi

# Each file is the one it was made from: the programs from the build's
# bin folder, the scripts from the source tree.
while IFS= read -r file; do
  case "$file" in
    INSTALL.txt) continue ;;
    */* | README.md) origin=$src/$file ;;
    *) origin=$build/bin/$file ;;
  esac
  cmp -s "$top/$file" "$origin" || fail "$file is not the same as $origin"
done < <(cd "$top" && find . -type f -printf '%P\n')

programs=()
while IFS= read -r file; do programs+=("$file"); done < <(cd "$top" &&
  find . -type f \( -iname '*.exe' -o -iname '*.dll' \) -printf '%P\n' | LC_ALL=C sort)
for program in "${programs[@]}"; do
  format=$(i686-w64-mingw32-objdump -f "$top/$program" 2> /dev/null | sed -n 's/.*file format //p')
  [ "$format" = pei-i386 ] || fail "$program is not a 32-bit program (${format:-not PE32})"
  # The runtime is linked statically: a MinGW runtime DLL would have to ship.
  imports=$(i686-w64-mingw32-objdump -p "$top/$program" 2> /dev/null | awk '/DLL Name:/ {print $3}')
  for dll in $imports; do
    case "$(echo "$dll" | tr '[:upper:]' '[:lower:]')" in
      libgcc* | libstdc++* | libwinpthread*)
        [ -f "$top/$dll" ] || fail "$program needs $dll, which the package lacks"
        ;;
    esac
  done
done

install=$top/INSTALL.txt
if [ -f "$install" ]; then
  lines=$(wc -l < "$install")
  crlf=$(grep -c $'\r$' "$install")
  last=$(tail -c 2 "$install" | od -An -c | tr -d ' ')
  if [ "$lines" -eq 0 ] || [ "$crlf" -ne "$lines" ] || [ "$last" != '\r\n' ]; then
    fail "INSTALL.txt: $crlf of $lines lines end in CR LF (the last ends in $last)"
  fi
  if grep -q '@[A-Z_]*@' "$install"; then
    fail "INSTALL.txt keeps placeholders: $(grep -o '@[A-Z_]*@' "$install" | sort -u | xargs)"
  fi
  grep -qF "Sonvio $version" "$install" || fail "INSTALL.txt does not name the version $version"
  for program in "${programs[@]}"; do
    grep -qF "$program" "$install" || fail "INSTALL.txt does not name $program"
  done
  # What a bench engineer needs first.
  for text in TCP "COM port" --list-ports "--script examples\\regression-check.txt" --report \
    "xvfb-run -a" marlett.ttf fonts-wine "docs\\bench-guide.md"; do
    grep -qF -- "$text" "$install" || fail "INSTALL.txt does not say $text"
  done
fi

echo "--- $name.zip"
(cd "$top" && find . -type f -printf '%10s  %P\n' | sort -k2)
if [ "$failures" -ne 0 ]; then
  echo "$failures package check(s) failed"
  exit 1
fi
echo "package checks passed: $name.zip, ${#programs[@]} programs, all 32-bit"
