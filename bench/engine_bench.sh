#!/usr/bin/env bash
# Benchmarks the program's built-in installation of the engine (Main.dfm:
# the engine group with its 31 files, the configuration merged by the real
# engine setup library, the registry entries) against what a user would do
# by hand with the same files in the same run: `cp -r` of the engine's
# files plus `gzip -d` of all of them as one stream. On the simulated
# machine always; under Wine too when a win64 build is given (the 64-bit
# setup.exe with the 64-bit QDSETUP.DLL, headless). Warm cache, best of
# RUNS. Prints the figures and the ratios (target: within 1.5x).
#
#   bench/engine_bench.sh [SIM_BUILD] [WIN64_BUILD] [RUNS]   (build/bench, none, 5)
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
sim=$(realpath "${1:-$src/build/bench}")
win=${2:+$(realpath "$2")}
runs=${3:-5}
if [[ -n $win && -z ${DISPLAY:-} ]]; then
  # Wine wants a display even for a headless run.
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$sim" "$win" "$runs"
fi
setup=$sim/src/app/setup
machine_tool=$sim/tools/machine/pellmore-machine
pack=$sim/tools/pack/pellmore-pack
engine_tool=$sim/tools/sample-engine/pellmore-sample-engine
for p in "$setup" "$machine_tool" "$pack" "$engine_tool" ${win:+"$win/src/app/setup.exe"}; do
  [[ -x $p || -f $p ]] || { echo "missing $p: build the presets first" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/pellmore-engine-bench.XXXXXX")
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

TIMEFORMAT=%R
best() { # best wall time of $runs runs of "$@", each after "$prepare"
  local t min=
  for ((i = 0; i < runs; i++)); do
    $prepare
    t=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
    min=$(python3 -c "print(min($t, ${min:-$t}))")
  done
  echo "$min"
}

# The distribution, packed from the built-in form on an authoring machine.
authoring=$work/authoring
"$machine_tool" create "$authoring" >/dev/null
"$engine_tool" --machine "$authoring" --authoring >/dev/null
"$pack" --quiet "$authoring" "$src/src/app/Main.dfm" 'C:\Build' >/dev/null
archive=$authoring/drive_c/Build/files.1
engine="$authoring/drive_c/Program Files/Quenby/Common Files/QDE"
kit=$authoring/drive_c/Pellmore

# By hand: the engine's 30 files and the template, copied and decompressed.
mkdir "$work/source"
for f in "$engine"/*; do [[ $(basename "$f") == qdeng32.cfg ]] || cp -p "$f" "$work/source/"; done
cp -p "$kit/QDENG32.CNF" "$work/source/"
(cd "$work/source" && find . -type f | sort | xargs cat) | gzip -c >"$work/all.gz"
prepare_tools() { rm -rf "$work/by-hand" "$work/by-hand.data"; sync; }
run_cp() { cp -r "$work/source" "$work/by-hand"; }
run_gunzip() { gzip -d -c "$work/all.gz" >"$work/by-hand.data"; }
prepare=prepare_tools
t_cp=$(best run_cp)
t_gz=$(best run_gunzip)
t_hand=$(python3 -c "print($t_cp + $t_gz)")
printf 'engine: %d files, %d bytes; files.1 %d bytes\n' "$(ls "$work/source" | wc -l)" \
  "$(du -sb "$work/source" | cut -f1)" "$(stat -c %s "$archive")"
printf 'by hand:   cp -r %6.3f s + gzip -d %6.3f s = %6.3f s\n' "$t_cp" "$t_gz" "$t_hand"

# The simulated machine.
template=$work/target-template
"$machine_tool" create "$template" >/dev/null
"$machine_tool" put "$template" "$setup" 'C:\SETUP\SETUP.EXE'
"$machine_tool" put "$template" "$archive" 'C:\SETUP\files.1'
"$machine_tool" put "$template" "$kit/QDSETUP.DLL" 'C:\SETUP\QDSETUP.DLL'
prepare_sim() { rm -rf "$work/target" && cp -a "$template" "$work/target"; sync; }
run_sim() { PELLMORE_MACHINE=$work/target "$setup" '-sC:\SETUP'; }
prepare=prepare_sim
t_sim=$(best run_sim)
installed="$work/target/drive_c/Program Files/Quenby/Common Files/QDE"
cmp -s "$installed/QDENG32.DLL" "$engine/QDENG32.DLL" && [[ -f $installed/qdeng32.cfg ]] ||
  { echo "sim: the engine was not installed" >&2; exit 1; }
printf 'simulated: setup -s %6.3f s   ratio %.2fx (target <= 1.5)\n' "$t_sim" \
  "$(python3 -c "print($t_sim / $t_hand)")"

[[ -n $win ]] || exit 0
# Under Wine: a prefix of its own, the engine removed before each run.
eval "$("$src/scripts/wine-prefix" "$work/prefix")"
c=$WINEPREFIX/drive_c
mkdir -p "$c/SETUP"
cp "$win/src/app/setup.exe" "$c/SETUP/setup.exe"
cp "$archive" "$c/SETUP/files.1"
cp "$win/src/enginesetup/QDSETUP.DLL" "$c/SETUP/QDSETUP.DLL"
dest="$("$src/scripts/wine-program-files" "$win/src/app/setup.exe")/Quenby/Common Files/QDE"
prepare_wine() {
  rm -rf "$dest"
  wine reg delete 'HKLM\Software\Quenby' /f >/dev/null 2>&1 || true
  wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenby Database Engine' \
    /f >/dev/null 2>&1 || true
}
run_wine() { PELLMORE_UI=headless wine 'C:\SETUP\setup.exe' '-sC:\SETUP' </dev/null; }
prepare=prepare_wine
t_wine=$(best run_wine)
cmp -s "$dest/QDENG32.DLL" "$engine/QDENG32.DLL" && [[ -f $dest/qdeng32.cfg ]] ||
  { echo "Wine: the engine was not installed" >&2; exit 1; }
printf 'Wine:      setup.exe -s %6.3f s   ratio %.2fx (target <= 1.5; includes starting Wine)\n' \
  "$t_wine" "$(python3 -c "print($t_wine / $t_hand)")"
