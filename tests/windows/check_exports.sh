#!/usr/bin/env bash
# Checks both Windows builds of Sonvio.dll: every entry point of the
# plug-in is exported under its underscore name, the names equal those of
# the Linux build (when its library is given), the DLLs import no MinGW
# runtime DLL (it is linked statically), and their version resource names
# the product and the file version.
#   check_exports.sh SOURCE_DIR VERSION [LINUX_PLUGIN]
set -uo pipefail
src=$1
version=$2
linux_plugin=${3:-}

expected=(_ShowMDIChildForm _CloseMDIChildForm _CanRun _SetGetInterface _SetShowLineFunc
          _SetFuncInterface _SetComHandle _SetBasebandType _FCSonvio _KelboFMRGUI
          _frm_DruskGUI _SonvioAutomate)
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

sorted_expected=$(printf '%s\n' "${expected[@]}" | sort)
if [ -n "$linux_plugin" ]; then
  # Our names start with one underscore; C++ template code (_Z...) is not ours.
  linux_names=$(nm -D --defined-only "$linux_plugin" | awk '{print $3}' | grep '^_[A-Za-z]' |
                grep -v '^_Z' | sort)
  [ "$linux_names" = "$sorted_expected" ] ||
    fail "the Linux plug-in exports $(echo $linux_names), expected $(echo $sorted_expected)"
fi

for arch in i686:windows-i686 x86_64:windows-x64; do
  tool=${arch%%:*}-w64-mingw32-objdump
  dll=$src/build/${arch#*:}/bin/Sonvio.dll
  if [ ! -f "$dll" ]; then
    fail "$dll was not built"
    continue
  fi
  dump=$("$tool" -p "$dll")
  # The names are the "[  n] name" lines after the "[Ordinal/Name Pointer] Table" heading.
  names=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          grep -E '^\s*\[ *[0-9]+\] ' | awk '{print $NF}' | sort)
  [ "$names" = "$sorted_expected" ] || fail "$dll exports $(echo $names)"
  imports=$(echo "$dump" | awk '/DLL Name:/ {print $3}')
  runtime=$(echo "$imports" | grep -Ei '^(libgcc_s|libstdc\+\+|libwinpthread)' || true)
  [ -z "$runtime" ] || fail "$dll imports the MinGW runtime: $(echo $runtime)"
  # Version resource strings are UTF-16: each key is followed by its value.
  resource=$(strings -el "$dll" | grep -A1 -xE 'ProductName|FileVersion' | tr '\n' ' ')
  [ "$resource" = "FileVersion $version -- ProductName Sonvio " ] ||
    fail "$dll has the version strings: $resource"
  echo "$dll: $(echo "$names" | wc -l) exports; imports $(echo $imports)"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures export check(s) failed"
  exit 1
fi
echo "exports of both Windows builds match"
