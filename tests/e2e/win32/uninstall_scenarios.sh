#!/usr/bin/env bash
# The uninstall program under Wine, in a Wine prefix of its own: the demo
# sample (whose TUninstallEXE item installs the real uninstall.exe and
# registers it) is installed by the cross-built setup.exe; Wine's own
# `uninstaller --list` shows the product; `uninstaller --remove` starts our
# uninstall.exe through the registered "UninstallString", answered by a UI
# script; afterwards the list no longer shows the product, the installed
# files and the uninstall key are gone, a file no record names is still
# there, and the uninstall program itself goes at the restart that
# `wineboot -r` performs. With SHOTS=DIR set, a second install is
# uninstalled in real windows and the question and the report are
# captured as PNG files in DIR (needs a display: run under xvfb-run).
#   uninstall_scenarios.sh SETUP_EXE UNINSTALL_EXE SIM_BUILD_DIR SOURCE_DIR
set -uo pipefail
setup_exe=$1 uninstall_exe=$2 sim=$3 src=$4
source "$src/tests/support/wine_scenario.sh"
need_sim_tools machine/pellmore-machine sample-engine/pellmore-sample-engine pack/pellmore-pack
scenario_begin uninstall

# The distribution: the sample engine and the kit (C:\Pellmore, with the
# real uninstall.exe in place of the sim build's stand-in), packed.
authoring=$work/authoring
"$sim/tools/machine/pellmore-machine" create "$authoring" >/dev/null
"$sim/tools/sample-engine/pellmore-sample-engine" "$authoring/drive_c/Authoring/Engine82" >/dev/null
"$sim/tools/sample-engine/pellmore-sample-engine" --kit "$authoring/drive_c/Pellmore" >/dev/null
cp "$uninstall_exe" "$authoring/drive_c/Pellmore/uninstall.exe"
"$sim/tools/pack/pellmore-pack" --quiet "$authoring" "$src/samples/install-demo.dfm" 'C:\Build'
engine=$authoring/drive_c/Authoring/Engine82

c=$WINEPREFIX/drive_c
base="$("$src/scripts/wine-program-files" "$setup_exe")/Quenby"
product='Quenby Database Engine'
key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
mkdir -p "$c/SETUP"
cp "$setup_exe" "$c/SETUP/setup.exe"
cp "$authoring/drive_c/Build/files.1" "$c/SETUP/files.1"
printf 'answer Yes\nanswer OK\n' >"$work/yes.ui"

install() {
  rm -f "$work/ui.log"
  PELLMORE_UI=headless PELLMORE_FORM=$(winepath -w "$src/samples/install-demo.dfm") \
    PELLMORE_UI_LOG=$(winepath -w "$work/ui.log") \
    wine 'C:\SETUP\setup.exe' '-sC:\SETUP' >"$work/out.txt" 2>&1 </dev/null
  code=$?
}
listed() { wine uninstaller --list 2>/dev/null </dev/null | tr -d '\r' | grep -q "$product"; }

echo "== install, then Wine's uninstaller runs ours"
install
check "the setup exits 0, got $code" '[[ $code == 0 ]]'
check "the real uninstall.exe was installed" 'cmp -s "$uninstall_exe" "$base/uninstall.exe"'
check "uninstaller --list shows the product" 'listed'
echo "the user's own notes" >"$base/Engine/notes.txt"
rm -f "$work/ui.log"
PELLMORE_UI=headless PELLMORE_UI_SCRIPT=$(winepath -w "$work/yes.ui") \
  PELLMORE_UI_LOG=$(winepath -w "$work/ui.log") \
  wine uninstaller --remove "$product" >"$work/out.txt" 2>&1 </dev/null
check "our uninstall program asked" \
  'grep -q "Do you want to remove Quenby Database Engine and all of its components" "$work/ui.log"'
check "and reported" 'grep -q "Quenby Database Engine was removed from this computer" "$work/ui.log"'
check "uninstaller --list no longer shows the product" '! listed'
check "the uninstall key is gone" '! wine reg query "$key" >/dev/null 2>&1 </dev/null'
left=0
for f in "$engine"/*; do [[ -e $base/Engine/$(basename "$f") ]] && left=$((left + 1)); done
check "every installed file is gone ($left left)" '[[ $left == 0 ]]'
check "the file no record names is still there" '[[ -f $base/Engine/notes.txt ]]'
check "uninstall.exe waits for the restart" '[[ -f $base/uninstall.exe ]]'
wine wineboot -r >/dev/null 2>&1 </dev/null
wineserver -w
check "the restart removed uninstall.exe" '[[ ! -e $base/uninstall.exe ]]'

if [[ -n ${SHOTS:-} ]]; then
  echo "== the question and the report in real windows (screenshots in $SHOTS)"
  mkdir -p "$SHOTS"
  real_windows
  rm -f "$base/Engine/notes.txt"
  install
  PELLMORE_UI=win32 wine "$base/uninstall.exe" "$product" >"$work/out.txt" 2>&1 </dev/null &
  pid=$!
  sleep 4
  import -window root "$SHOTS/uninstall-question.png"
  press_return
  sleep 4
  import -window root "$SHOTS/uninstall-report.png"
  press_return
  wait $pid
  ucode=$?
  check "the windowed uninstall exits 0, got $ucode" '[[ $ucode == 0 ]]'
  check "and removed the product" '! listed'
fi

exit $fail
