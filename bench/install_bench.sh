#!/usr/bin/env bash
# Benchmarks a full headless installation by the setup program (-s, on a
# fresh simulated machine) against what a user would do by hand with the
# same data in the same run: `cp -r` of the files plus `gzip -d` of all of
# them as one stream.
# Two distributions: the sample engine (31 files) and a generated one of
# FILES files and MB megabytes. Warm cache, best of five. Prints the figures
# and the ratios (target: within 1.5x).
#
#   bench/install_bench.sh [BUILD_DIR] [FILES] [MB]   (build/bench 2000 500)
set -euo pipefail

build=$(realpath "${1:-build/bench}")
nfiles=${2:-2000}
mb=${3:-500}
((nfiles >= 1 && nfiles <= 2000)) || { echo "FILES must be 1 to 2000 (one UniqueID each)" >&2; exit 2; }
src=$(realpath "$(dirname "$0")/../src")
samples=$(realpath "$(dirname "$0")/../samples")
setup=$build/src/app/setup
machine_tool=$build/tools/machine/pellmore-machine
pack=$build/tools/pack/pellmore-pack
engine_tool=$build/tools/sample-engine/pellmore-sample-engine
for p in "$setup" "$machine_tool" "$pack" "$engine_tool"; do
  [[ -x $p ]] || { echo "missing $p: cmake --preset bench && cmake --build --preset bench" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/pellmore-install-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

TIMEFORMAT=%R
RUNS=5
best() {  # best wall time of $RUNS runs of "$@", each after "$prepare"
  local t min=
  for ((i = 0; i < RUNS; i++)); do
    $prepare
    t=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
    min=$(python3 -c "print(min($t, ${min:-$t}))")
  done
  echo "$min"
}

# One distribution: $1 its label, $2 the authoring machine, $3 the form,
# $4 the source directory (host side of the authoring machine), $5 the
# destination directory's host path inside a target machine.
measure() {
  local name=$1 authoring=$2 form=$3 source=$4 dest=$5
  local template=$work/target-template
  local t_pack_start t_pack
  t_pack_start=$(date +%s.%N)
  "$pack" --quiet "$authoring" "$form" 'C:\Build' >/dev/null
  t_pack=$(python3 -c "print($(date +%s.%N) - $t_pack_start)")
  rm -rf "$template"
  "$machine_tool" create "$template" >/dev/null
  "$machine_tool" put "$template" "$setup" 'C:\SETUP\SETUP.EXE'
  "$machine_tool" put "$template" "$authoring/drive_c/Build/files.1" 'C:\SETUP\files.1'

  # The same data for the tools: all files in one gzip stream (default
  # level), so the baseline pays for decompression, not for starting gzip
  # once per file.
  (cd "$source" && find . -type f | sort | xargs cat) | gzip -c >"$work/all.gz"

  prepare_setup() { rm -rf "$work/target" && cp -a "$template" "$work/target"; sync; }
  run_setup() {
    PELLMORE_MACHINE=$work/target PELLMORE_FORM=$form "$setup" '-sC:\SETUP' || return 1
  }
  prepare_tools() { rm -rf "$work/by-hand" "$work/by-hand.data"; sync; }
  run_cp() { cp -r "$source" "$work/by-hand"; }
  run_gunzip() { gzip -d -c "$work/all.gz" >"$work/by-hand.data"; }
  prepare=prepare_setup
  local t_setup t_cp t_gz
  t_setup=$(best run_setup)
  # The last run's result must be the whole installation.
  diff -r "$source" "$work/target/$dest" >/dev/null || { echo "$name: installed files differ" >&2; exit 1; }
  prepare=prepare_tools
  t_cp=$(best run_cp)
  t_gz=$(best run_gunzip)

  local files bytes archive
  files=$(find "$source" -type f | wc -l)
  bytes=$(du -sb "$source" | cut -f1)
  archive=$(stat -c %s "$authoring/drive_c/Build/files.1")
  printf '%-18s %5d files %11d bytes  files.1 %11d bytes  pack %6.2f s\n' \
    "$name" "$files" "$bytes" "$archive" "$t_pack"
  printf '%-18s setup -s %6.2f s   cp -r %6.2f s + gzip -d %6.2f s = %6.2f s   ratio %.2fx (target <= 1.5)\n' \
    "" "$t_setup" "$t_cp" "$t_gz" "$(python3 -c "print($t_cp + $t_gz)")" \
    "$(python3 -c "print($t_setup / ($t_cp + $t_gz))")"
}

# --- the sample engine --------------------------------------------------------------
"$machine_tool" create "$work/engine-authoring" >/dev/null
"$engine_tool" "$work/engine-authoring/drive_c/Authoring/Engine82" >/dev/null
measure engine "$work/engine-authoring" "$samples/install-demo.dfm" "$work/engine-authoring/drive_c/Authoring/Engine82" \
  "drive_c/Program Files/Quenby/Engine"

# --- a generated distribution: groups of 100 files in their own folders ------------
"$machine_tool" create "$work/big-authoring" >/dev/null
python3 "$(dirname "$0")/make_distribution.py" "$nfiles" "$mb" "$src" "$work/big-authoring/drive_c/Dist" \
  "$work/big.dfm" "$samples/install-demo.dfm"
measure "$nfiles files" "$work/big-authoring" "$work/big.dfm" "$work/big-authoring/drive_c/Dist" \
  "drive_c/Program Files/Quenby/Dist"
