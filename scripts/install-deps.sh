#!/usr/bin/env bash
# Installs the Debian packages a build needs, when they are missing.
#   install-deps.sh           native build and tests
#   install-deps.sh --windows also the MinGW cross compilers, Wine and Xvfb
#   install-deps.sh --plot    also rsvg-convert and a font, for scripts/plot-png.sh
#   install-deps.sh --fuzz    also clang and its sanitizer and fuzzer runtimes
set -euo pipefail

packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev fp-utils)
for option in "$@"; do
  case "$option" in
    --windows)
      packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64 wine wine64 fonts-wine
                 xvfb imagemagick)
      ;;
    --plot)
      packages+=(librsvg2-bin fonts-dejavu-core)
      ;;
    --fuzz)
      packages+=(clang)
      # The runtimes' package is versioned on older releases.
      if apt-cache show libclang-rt-dev >/dev/null 2>&1; then
        packages+=(libclang-rt-dev)
      else
        packages+=(libclang-rt-14-dev)
      fi
      ;;
    *)
      echo "unknown option: $option" >&2
      exit 2
      ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
