#!/usr/bin/env bash
# Time from starting a stand-alone setup.exe (the loading program with the
# demo distribution appended) to the installer's first window under Wine:
# the moment the installer's transcript records its first form. Also the
# loading program's size. Uses the Wine scenarios' distribution recipe.
#   [SETUP_EXE=...] bench/loader_bench.sh [RUNS]   (after building the sim and win64 presets)
set -uo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
loader=$src/build/win64/src/loader/PellmoreLoadProgram.exe
setup=${SETUP_EXE:-$src/build/win64/src/app/setup.exe}  # SETUP_EXE: another build's
sim=$src/build/sim
work=$(mktemp -d "${TMPDIR:-/tmp}/pellmore-loader-bench.XXXXXX")
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
eval "$("$src/scripts/wine-prefix" "$work/prefix")"

authoring=$work/authoring
"$sim/tools/machine/pellmore-machine" create "$authoring" >/dev/null
"$sim/tools/sample-engine/pellmore-sample-engine" "$authoring/drive_c/Authoring/Engine82" >/dev/null
"$sim/tools/sample-engine/pellmore-sample-engine" --kit "$authoring/drive_c/Pellmore" >/dev/null
"$sim/tools/pack/pellmore-pack" --quiet "$authoring" "$src/samples/install-demo.dfm" 'C:\Build'
mkdir -p "$work/dev" "$WINEPREFIX/drive_c/dist"
cp "$setup" "$work/dev/SETUP.EXE"
"$sim/tools/archive/pellmore-archive" --drive "C=$work/dev" add "$work/setup.1" --new \
  "$work/dev/SETUP.EXE" >/dev/null
python3 - "$loader" "$work/setup.1" "$authoring/drive_c/Build/files.1" \
  "$WINEPREFIX/drive_c/dist/setup.exe" <<'PY'
import struct, sys
loader, setup1, files1 = (open(p, 'rb').read() for p in sys.argv[1:4])
s = len(loader); f = s + len(setup1)
trailer = bytes([14]) + b'SELFEXTRACTING' + b'\0' + struct.pack(
    '<4I', s, f - 1, f, f + len(files1) - 1) + bytes(24)
open(sys.argv[4], 'wb').write(loader + setup1 + files1 + trailer)
PY

echo "loading program (win64 build): $(stat -c %s "$loader") bytes"
[[ -f $src/build/win32/src/loader/PellmoreLoadProgram.exe ]] &&
  echo "loading program (win32, the product): $(stat -c %s "$src/build/win32/src/loader/PellmoreLoadProgram.exe") bytes"
echo "setup.exe with everything appended: $(stat -c %s "$WINEPREFIX/drive_c/dist/setup.exe") bytes"
export PELLMORE_UI=headless PELLMORE_FORM=$(winepath -w "$src/samples/install-demo.dfm")
for i in $(seq "$runs"); do
  log=$work/ui$i.log
  start=$(date +%s%N)
  PELLMORE_UI_LOG=$(winepath -w "$log") wine 'C:\dist\setup.exe' >/dev/null 2>&1 &
  pid=$!
  until grep -q '"event":"form"' "$log" 2>/dev/null || ! kill -0 $pid 2>/dev/null; do sleep 0.01; done
  echo "run $i: first window after $((($(date +%s%N) - start) / 1000000)) ms"
  wait $pid
  rm -rf "$WINEPREFIX/drive_c/Program Files/Quenby"
done
