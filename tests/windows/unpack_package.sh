#!/usr/bin/env bash
# Unpacks the release package into DEST (made when missing; it must be empty,
# so nothing of an earlier run stays) and prints the path of its one top
# folder, where the programs, INSTALL.txt, docs/ and tours/ are:
#   top=$(unpack_package.sh ZIP DEST)
# Fails when the package has no files or more than one top folder.
set -euo pipefail
zip=$(realpath "$1")
dest=$2
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
if [ -n "$(ls -A "$dest")" ]; then
  echo "unpack_package.sh: $dest is not empty" >&2
  exit 1
fi
(cd "$dest" && cmake -E tar xf "$zip")
mapfile -t tops < <(ls -A "$dest")
if [ "${#tops[@]}" -ne 1 ] || [ ! -d "$dest/${tops[0]}" ]; then
  echo "unpack_package.sh: $1 should hold one top folder, not: ${tops[*]}" >&2
  exit 1
fi
echo "$dest/${tops[0]}"
