#!/usr/bin/env bash
# What real windows cost: the demo installation of the sample engine by the
# Windows setup.exe under Wine, with the Win32 widgetset (a UI script
# without answers, so the default buttons are pressed through the real
# windows) against the same installation headless, best of RUNS each, in
# one run; and the time from the process start to the first window fully
# painted (PELLMORE_UI_TIMING). Opens its own virtual display when there is
# none.
#   bench/win32_ui_bench.sh [WIN64_BUILD] [SIM_BUILD] [RUNS]
# (defaults build/win64, build/sim, 5; both builds must exist: the sim
# build's author tools pack the distribution).
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
win=$(realpath "${1:-$src/build/win64}")
sim=$(realpath "${2:-$src/build/sim}")
runs=${3:-5}
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$win" "$sim" "$runs"
fi
setup_exe=$win/src/app/setup.exe
for f in "$setup_exe" "$sim/tools/pack/pellmore-pack" "$sim/tools/sample-engine/pellmore-sample-engine"; do
  [[ -e $f ]] || { echo "missing: $f (build the win64 and sim presets first)"; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/pellmore-ui-bench.XXXXXX")
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
eval "$("$src/scripts/wine-prefix" "$work/prefix")"
# Unmanaged top-level windows: without a window manager on the virtual
# display Wine waits 2 s for one whenever a managed window hides, which
# would be measured instead of the windows.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null

authoring=$work/authoring
"$sim/tools/machine/pellmore-machine" create "$authoring" >/dev/null
"$sim/tools/sample-engine/pellmore-sample-engine" "$authoring/drive_c/Authoring/Engine82" >/dev/null
"$sim/tools/sample-engine/pellmore-sample-engine" --kit "$authoring/drive_c/Pellmore" >/dev/null
"$sim/tools/pack/pellmore-pack" --quiet "$authoring" "$src/samples/install-demo.dfm" 'C:\Build'
c=$WINEPREFIX/drive_c
mkdir -p "$c/SETUP"
cp "$setup_exe" "$c/SETUP/setup.exe"
cp "$authoring/drive_c/Build/files.1" "$c/SETUP/files.1"
dest="$("$src/scripts/wine-program-files" "$setup_exe")/Quenby/Engine"
form=$(winepath -w "$src/samples/install-demo.dfm")
script=$(winepath -w "$src/tests/framework/data/no-answers.uiscript")

# One installation with widgetset $1; prints its milliseconds, and for the
# real windows the first paint's on the next line.
install() {
  rm -rf "$dest"
  wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenby Database Engine' \
    /f >/dev/null 2>&1 || true
  local t0 t1
  t0=$(date +%s%N)
  PELLMORE_UI=$1 PELLMORE_UI_SCRIPT=$script PELLMORE_UI_TIMING=1 PELLMORE_FORM=$form \
    wine 'C:\SETUP\setup.exe' '-sC:\SETUP' >"$work/out.txt" 2>"$work/err.txt" </dev/null ||
    { echo "setup failed ($1):" >&2; cat "$work/err.txt" >&2; exit 1; }
  t1=$(date +%s%N)
  [[ -n $(ls -A "$dest" 2>/dev/null) ]] ||
    { echo "nothing installed ($1)" >&2; exit 1; }
  echo $(((t1 - t0) / 1000000))
  sed -n 's/^first window painted \([0-9]*\) ms.*/\1/p' "$work/err.txt" | head -1
}

best_headless=999999 best_win32=999999 best_paint=999999
install headless >/dev/null # warms Wine's caches for both
for ((i = 0; i < runs; i++)); do
  mapfile -t h < <(install headless)
  mapfile -t w < <(install win32)
  ((h[0] < best_headless)) && best_headless=${h[0]}
  ((w[0] < best_win32)) && best_win32=${w[0]}
  [[ -n ${w[1]:-} ]] && ((w[1] < best_paint)) && best_paint=${w[1]}
done
echo "demo installation under Wine, best of $runs:"
echo "  headless      ${best_headless} ms"
echo "  real windows  ${best_win32} ms"
awk -v w="$best_win32" -v h="$best_headless" 'BEGIN { printf "  ratio real windows / headless: %.2f\n", w / h }'
if ((best_paint < 999999)); then
  echo "first window fully painted: ${best_paint} ms after the process start"
else
  echo "first window fully painted: not reported"
fi
