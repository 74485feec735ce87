#!/usr/bin/env bash
# Scale benchmark: does the cost per file stay flat as a distribution grows?
# For each size in SIZES it generates a distribution of small files
# (make_distribution.py: folders and groups of 100 files, at most 2,000 files
# per archive because UniqueIDs run 0..1999 per archive, so "files.1" plus
# "part2.1", "part3.1" ...; every 20th file keeps a shared-DLL count; every
# file writes its uninstall record), packs it with pellmore-pack (the build
# code of `setup -b`), installs it headless (`setup -s`) on a fresh
# simulated machine, checks the installed files against the sources, and
# reports wall time and peak RSS (/usr/bin/time -v) of both, with ms/file
# and its ratio to the first size. Then one large distribution of BIG_MB of
# incompressible data in 16 files over 4 archives, each split onto volumes
# of VOLUME_MB (pellmore-archive split), installed from the volume sets.
# Everything it writes goes into one temporary directory that is removed at
# the end.
#
#   bench/scale_bench.sh [BUILD_DIR]        (build/sim)
#
# Environment: SIZES ("2000 10000 50000"), KB (mean file size, 4),
# BIG_MB (4096, 0 skips it), VOLUME_MB (400), RUNS (installs per size, best
# wall time kept, 1), NICE (10). SCALE_QUICK=1 means SIZES="500 2000 5000"
# and BIG_MB=400 unless they are set.
set -euo pipefail

build=$(realpath "${1:-build/sim}")
here=$(realpath "$(dirname "$0")")
src=$here/../src
samples=$here/../samples
if [[ ${SCALE_QUICK:-0} == 1 ]]; then
  SIZES=${SIZES:-"500 2000 5000"}
  BIG_MB=${BIG_MB:-400}
  VOLUME_MB=${VOLUME_MB:-40}
fi
SIZES=${SIZES:-"2000 10000 50000"}
KB=${KB:-4}
BIG_MB=${BIG_MB:-4096}
VOLUME_MB=${VOLUME_MB:-400}
RUNS=${RUNS:-1}
NICE=${NICE:-10}
setup=$build/src/app/setup
machine_tool=$build/tools/machine/pellmore-machine
pack=$build/tools/pack/pellmore-pack
archive_tool=$build/tools/archive/pellmore-archive
for p in "$setup" "$machine_tool" "$pack" "$archive_tool"; do
  [[ -x $p ]] || { echo "missing $p: cmake --preset sim && cmake --build --preset sim" >&2; exit 2; }
done
[[ -x /usr/bin/time ]] || { echo "needs /usr/bin/time (GNU time) for the peak RSS" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/pellmore-scale-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Runs "$@" under /usr/bin/time -v; sets WALL (seconds) and RSS (MiB).
timed() {
  local log=$work/time.log
  nice -n "$NICE" /usr/bin/time -v -o "$log" "$@" >"$work/out.log" 2>&1 ||
    { cat "$work/out.log" >&2; echo "failed: $*" >&2; exit 1; }
  WALL=$(awk -F': ' '/Elapsed \(wall clock\)/ {
    n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$log")
  RSS=$(awk -F': ' '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }' "$log")
}

# Makes a target machine in $work/target holding the setup and every file of
# the directory $1 in C:\SETUP (hard links: the install only reads them).
fresh_target() {
  rm -rf "$work/target"
  "$machine_tool" create "$work/target" >/dev/null
  "$machine_tool" put "$work/target" "$setup" 'C:\SETUP\SETUP.EXE'
  local f
  for f in "$1"/*; do ln "$f" "$work/target/drive_c/SETUP/$(basename "$f")"; done
}

install_run() {  # $1 the form; sets WALL and RSS
  PELLMORE_MACHINE=$work/target PELLMORE_FORM=$1 timed "$setup" '-sC:\SETUP'
}

check_installed() {  # $1 label
  diff -r "$work/authoring/drive_c/Dist" "$work/target/drive_c/Program Files/Quenby/Dist" >/dev/null ||
    { echo "$1: installed files differ from the sources" >&2; exit 1; }
}

echo "# $(date -u +%F), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), build $build"
printf '%-7s %8s %4s | %8s %8s %6s %8s | %8s %8s %6s %8s\n' files MiB arch \
  "pack s" "ms/file" ratio "RSS MiB" "setup s" "ms/file" ratio "RSS MiB"
base_pack='' base_setup=''
for n in $SIZES; do
  rm -rf "$work/authoring" "$work/dist.dfm"
  "$machine_tool" create "$work/authoring" >/dev/null
  mb=$(( (n * KB + 1023) / 1024 ))
  python3 "$here/make_distribution.py" "$n" "$mb" "$src" "$work/authoring/drive_c/Dist" \
    "$work/dist.dfm" "$samples/install-demo.dfm" --per-archive 2000 --shared-every 20
  timed "$pack" --quiet "$work/authoring" "$work/dist.dfm" 'C:\Build'
  t_pack=$WALL rss_pack=$RSS
  archives=$(ls "$work/authoring/drive_c/Build" | wc -l)
  best=''
  for ((r = 0; r < RUNS; r++)); do
    fresh_target "$work/authoring/drive_c/Build"
    install_run "$work/dist.dfm"
    if [[ -z $best ]] || python3 -c "import sys; sys.exit(not $WALL < $best)"; then
      best=$WALL rss_setup=$RSS
    fi
  done
  check_installed "$n files"
  bytes=$(du -sb "$work/authoring/drive_c/Dist" | cut -f1)
  read -r line base_pack base_setup < <(python3 - "$n" "$bytes" "$archives" "$t_pack" "$rss_pack" \
    "$best" "$rss_setup" "$base_pack" "$base_setup" <<'EOF'
import sys
n, size, arch, tp, rp, ts, rs = sys.argv[1:8]
n = int(n)
mp, ms = float(tp) * 1000 / n, float(ts) * 1000 / n
bp = float(sys.argv[8]) if sys.argv[8] else mp
bs = float(sys.argv[9]) if sys.argv[9] else ms
row = (f'{n:<7d} {int(size) / 2**20:8.1f} {arch:>4} | {float(tp):8.2f} {mp:8.3f} {mp / bp:5.2f}x {rp:>8} | '
       f'{float(ts):8.2f} {ms:8.3f} {ms / bs:5.2f}x {rs:>8}')
print(row.replace(' ', '\x01'), bp, bs)
EOF
  )
  echo "${line//$'\x01'/ }"
  rm -rf "$work/authoring" "$work/target"
done

((BIG_MB > 0)) || exit 0
# --- a large distribution of incompressible data on volume sets ------------------------------
rm -rf "$work/authoring"
"$machine_tool" create "$work/authoring" >/dev/null
python3 "$here/make_distribution.py" 16 "$BIG_MB" "$src" "$work/authoring/drive_c/Dist" \
  "$work/big.dfm" "$samples/install-demo.dfm" --per-archive 4 --group-size 4 --random
timed "$pack" --quiet "$work/authoring" "$work/big.dfm" 'C:\Build'
t_pack=$WALL rss_pack=$RSS
mkdir "$work/volumes"
t_split=0
for a in "$work/authoring/drive_c/Build"/*.1; do
  timed "$archive_tool" split "$a" "$work/volumes" --volume-size "${VOLUME_MB}M" --name "$(basename "$a")"
  t_split=$(python3 -c "print($t_split + $WALL)")
  rm "$a"  # the volumes replace it; keeps the disk use at three copies of the data
done
volumes=$(ls "$work/volumes" | wc -l)
fresh_target "$work/volumes"
install_run "$work/big.dfm"
t_setup=$WALL rss_setup=$RSS
check_installed "large distribution"
bytes=$(du -sb "$work/authoring/drive_c/Dist" | cut -f1)
python3 - "$bytes" "$volumes" "$VOLUME_MB" "$t_pack" "$rss_pack" "$t_split" "$t_setup" "$rss_setup" <<'EOF'
import sys
size, vols, vmb, tp, rp, tsp, ts, rs = sys.argv[1:]
mib = int(size) / 2**20
print(f'large: 16 files, {mib:.0f} MiB incompressible, 4 archives on {vols} volumes of at most {vmb} MiB')
print(f'  pack  {float(tp):8.2f} s {mib / float(tp):7.1f} MiB/s  peak RSS {rp} MiB')
print(f'  split {float(tsp):8.2f} s {mib / float(tsp):7.1f} MiB/s')
print(f'  setup {float(ts):8.2f} s {mib / float(ts):7.1f} MiB/s  peak RSS {rs} MiB')
EOF
