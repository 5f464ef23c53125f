#!/usr/bin/env bash
# Installs the Debian packages a build needs, when they are missing.
#   install-deps.sh           native build and tests
#   install-deps.sh --windows also the MinGW cross compilers, Wine and Xvfb; 32-bit
#                             Wine (wine32:i386) too where the kernel runs 32-bit
#                             programs (scripts/runs-32bit.sh), so the 32-bit build
#                             itself runs under Wine
#   install-deps.sh --plot    also rsvg-convert and a font, for scripts/plot-png.sh
#   install-deps.sh --fuzz    also clang and its sanitizer and fuzzer runtimes
set -euo pipefail

want_wine32=0
packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev fp-utils python3-junitparser
  nlohmann-json3-dev libxml2-utils)
for option in "$@"; do
  case "$option" in
    --windows)
      packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64 wine wine64 fonts-wine
                 xvfb imagemagick)
      want_wine32=1
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

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# Installs those of the named packages that are missing.
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"

# The probe needs the assembler and linker the packages above bring.
if [ "$want_wine32" -eq 1 ] && bash "$(dirname "$0")/runs-32bit.sh"; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture for 32-bit Wine"
    $sudo dpkg --add-architecture i386
  fi
  install_missing wine32:i386
fi
