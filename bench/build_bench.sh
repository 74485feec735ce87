#!/usr/bin/env bash
# Benchmarks the build of a distribution (the packing of "files.1" that
# `setup -b` runs, through pellmore-pack, which calls the same build code)
# against `gzip -9` of the same files, in one run: on one core
# (PELLMORE_BUILD_THREADS=1 against one gzip after another) and on all cores
# (the build's compression ahead against one gzip per core with xargs -P).
# Checks that both builds wrote the same bytes. Warm cache, best of RUNS
# (environment, default 3).
#
#   bench/build_bench.sh [BUILD_DIR] [FILES] [MB]   (build/bench 2000 500)
set -euo pipefail

build=$(realpath "${1:-build/bench}")
nfiles=${2:-2000}
mb=${3:-500}
((nfiles >= 1 && nfiles <= 2000)) || { echo "FILES must be 1 to 2000 (one UniqueID each)" >&2; exit 2; }
here=$(dirname "$0")
src=$(realpath "$here/../src")
samples=$(realpath "$here/../samples")
machine_tool=$build/tools/machine/pellmore-machine
pack=$build/tools/pack/pellmore-pack
for p in "$machine_tool" "$pack"; do
  [[ -x $p ]] || { echo "missing $p: cmake --preset bench && cmake --build --preset bench" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/pellmore-build-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cores=$(nproc)

"$machine_tool" create "$work/authoring" >/dev/null
python3 "$here/make_distribution.py" "$nfiles" "$mb" "$src" "$work/authoring/drive_c/Dist" \
  "$work/big.dfm" "$samples/install-demo.dfm"
dist=$work/authoring/drive_c/Dist
archive=$work/authoring/drive_c/Build/files.1

TIMEFORMAT=%R
RUNS=${RUNS:-3}
best() {  # best wall time of $RUNS runs of "$@"
  local t min=
  for ((i = 0; i < RUNS; i++)); do
    t=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
    min=$(python3 -c "print(min($t, ${min:-$t}))")
  done
  echo "$min"
}

pack_with() { PELLMORE_BUILD_THREADS=$1 "$pack" --quiet "$work/authoring" "$work/big.dfm" 'C:\Build'; }
pack_one() { pack_with 1; }
pack_all() { pack_with "$cores"; }
gzip_one() { find "$dist" -type f -name '*.dat' -print0 | xargs -0 -n 50 gzip -9 -k -f; }
gzip_all() { find "$dist" -type f -name '*.dat' -print0 | xargs -0 -n 50 -P "$cores" gzip -9 -k -f; }

t_pack_one=$(best pack_one)
cp "$archive" "$work/one-core.1"
t_pack_all=$(best pack_all)
cmp -s "$archive" "$work/one-core.1" || { echo "files.1 differs between one core and $cores" >&2; exit 1; }
t_gzip_one=$(best gzip_one)
t_gzip_all=$(best gzip_all)
gz_bytes=$(find "$dist" -name '*.gz' -print0 | du -cb --files0-from=- | tail -1 | cut -f1)
find "$dist" -name '*.gz' -delete

bytes=$(find "$dist" -type f -name '*.dat' -print0 | du -cb --files0-from=- | tail -1 | cut -f1)
printf '%d files, %d bytes; files.1 %d bytes, gzip -9 %d bytes in all\n' \
  "$nfiles" "$bytes" "$(stat -c %s "$archive")" "$gz_bytes"
ratio() { python3 -c "print(f'{$1 / $2:.2f}x')"; }
printf 'one core:  build %7.2f s   gzip -9 %7.2f s   ratio %s\n' \
  "$t_pack_one" "$t_gzip_one" "$(ratio "$t_pack_one" "$t_gzip_one")"
printf '%d cores:   build %7.2f s   gzip -9 %7.2f s   ratio %s   (build speed-up %s)\n' \
  "$cores" "$t_pack_all" "$t_gzip_all" "$(ratio "$t_pack_all" "$t_gzip_all")" \
  "$(ratio "$t_pack_one" "$t_pack_all")"
echo "files.1 is byte-identical on one core and on $cores"
