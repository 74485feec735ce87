#!/usr/bin/env bash
# The double-click install under Wine: the cross-built loading program as a
# distribution's setup.exe, started with no arguments (headless), once with
# setup.1 and files.1 appended behind a trailer and once with them beside
# it. Each run installs the demo engine and leaves no unpacked copy in the
# temporary directory (the installer's clean-up batch runs after it ends);
# a setup.exe cut short names what it misses and starts nothing.
#   loader_scenarios.sh LOADER_EXE SETUP_EXE SIM_BUILD_DIR SOURCE_DIR
set -uo pipefail
loader_exe=$1 setup_exe=$2 sim=$3 src=$4
source "$src/tests/support/wine_scenario.sh"
need_sim_tools machine/pellmore-machine sample-engine/pellmore-sample-engine pack/pellmore-pack archive/pellmore-archive
scenario_begin loader

# The demo distribution packed by the sim build's tools; setup.1 holds the
# installer and a presetup file, stored by their full source paths.
authoring=$work/authoring
"$sim/tools/machine/pellmore-machine" create "$authoring" >/dev/null
"$sim/tools/sample-engine/pellmore-sample-engine" "$authoring/drive_c/Authoring/Engine82" >/dev/null
"$sim/tools/sample-engine/pellmore-sample-engine" --kit "$authoring/drive_c/Pellmore" >/dev/null
"$sim/tools/pack/pellmore-pack" --quiet "$authoring" "$src/samples/install-demo.dfm" 'C:\Build'
engine=$authoring/drive_c/Authoring/Engine82
files1=$authoring/drive_c/Build/files.1
mkdir -p "$work/dev"
cp "$setup_exe" "$work/dev/SETUP.EXE"
echo "a presetup file" >"$work/dev/README.TXT"
"$sim/tools/archive/pellmore-archive" --drive "C=$work/dev" add "$work/setup.1" --new \
  "$work/dev/SETUP.EXE" "$work/dev/README.TXT" >/dev/null
# setup.exe = loader + setup.1 + files.1 + the 56-byte trailer.
python3 - "$loader_exe" "$work/setup.1" "$files1" "$work/standalone.exe" <<'PY'
import struct, sys
loader, setup1, files1 = (open(p, 'rb').read() for p in sys.argv[1:4])
s = len(loader); f = s + len(setup1)
trailer = bytes([14]) + b'SELFEXTRACTING' + b'\0' + struct.pack(
    '<4I', s, f - 1, f, f + len(files1) - 1) + bytes(24)
open(sys.argv[4], 'wb').write(loader + setup1 + files1 + trailer)
PY

export PELLMORE_UI=headless
c=$WINEPREFIX/drive_c
dest="$("$src/scripts/wine-program-files" "$setup_exe")/Quenby/Engine"
form=$(winepath -w "$src/samples/install-demo.dfm")
run() {
  PELLMORE_FORM=$form wine 'C:\dist\setup.exe' >"$work/out.txt" 2>"$work/err.txt" </dev/null
  code=$?
}
fresh() {
  rm -rf "$c/dist" "$dest"
  wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenby Database Engine' \
    /f >/dev/null 2>&1
  mkdir -p "$c/dist"
}

echo "== stand-alone setup.exe, no arguments"
fresh
cp "$work/standalone.exe" "$c/dist/setup.exe"
started=$(date +%s%N)
run
echo "     took $((($(date +%s%N) - started) / 1000000)) ms"
check "exits 0 (finished), got $code" '[[ $code == 0 ]]'
check "every file installed unchanged" 'diff -r "$engine" "$dest" >/dev/null'
check "no unpacked copy is left in the temporary folder" no_unpacked_copy

echo "== setup.exe with setup.1 and files.1 beside it"
fresh
cp "$loader_exe" "$c/dist/setup.exe"
cp "$work/setup.1" "$files1" "$c/dist/"
run
check "exits 0 (finished), got $code" '[[ $code == 0 ]]'
check "every file installed unchanged" 'diff -r "$engine" "$dest" >/dev/null'
check "no unpacked copy is left in the temporary folder" no_unpacked_copy

echo "== a setup.exe cut short"
fresh
head -c $(($(stat -c %s "$work/standalone.exe") - 1000)) "$work/standalone.exe" >"$c/dist/setup.exe"
run
check "exits 1 (failed), got $code" '[[ $code == 1 ]]'
check "says what it misses" 'grep -q "Cannot find C:\\\\dist\\\\setup.1" "$work/err.txt"'
check "starts nothing" '[[ ! -e $dest ]]'
check "no unpacked copy is left in the temporary folder" no_unpacked_copy

exit $fail
