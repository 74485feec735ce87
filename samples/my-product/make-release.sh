#!/usr/bin/env bash
# Makes the files of a Larkspur Notes release in a host folder, as a real
# product's build would leave them: the two programs and the shared library
# as PE files with version resources (from the kit's pellmore-pegen), the
# help page and the licence from files/ beside this script.
#   make-release.sh PEGEN DIR [VERSION]      (VERSION: 1.0 or 1.1, default 1.0)
set -euo pipefail
pegen=$1 dir=$2 version=${3:-1.0}
case $version in
  1.0) build=1.0.0.120 core=2.3.0.40 ;;
  1.1) build=1.1.0.180 core=2.4.0.12 ;;
  *) echo "make-release.sh: unknown version $version (1.0 or 1.1)" >&2; exit 1 ;;
esac
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$dir"

# PE file NAME KIND VERSION DESCRIPTION [pegen options...]
pe() {
  local name=$1 kind=$2 ver=$3 what=$4
  shift 4
  "$pegen" "$kind" -o "$dir/$name" --file-version "$ver" --product-version "$build" \
    --table 0409 04b0 --string "CompanyName=Larkspur Software" --string "FileDescription=$what" \
    --string "ProductName=Larkspur Notes" --string "OriginalFilename=$name" \
    --string "LegalCopyright=Copyright (C) Larkspur Software" --translation 0409 04b0 "$@"
}
pe LARKNOTE.EXE --exe "$build" "Larkspur Notes" --payload-bytes 24000
pe LARKSYNC.EXE --exe "$build" "Larkspur Notes synchroniser" --payload-bytes 9000
# The library every Larkspur product shares: its own version line, so an
# older product's setup never replaces a newer copy.
pe LARKCORE.DLL --dll "$core" "Larkspur core library" --payload-bytes 16000
cp "$here/files/NOTES.HTM" "$here/files/LICENSE.TXT" "$dir/"
# A release's files carry their release date; the archive keeps it.
touch -d "$([ "$version" = 1.0 ] && echo 2024-03-01T12:00 || echo 2024-09-01T12:00)" "$dir"/*
