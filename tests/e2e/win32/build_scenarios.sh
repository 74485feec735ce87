#!/usr/bin/env bash
# setup.exe's build and floppy modes under Wine, in a Wine prefix of its
# own. An authoring prefix (the sample engine's files in
# C:\Authoring\Engine82, the kit and its registry values from the sample
# engine tool) runs `setup.exe -b` with BUILD.INF naming C:\Build: the
# demo becomes setup.exe (loading program, setup.1, files.1 and the
# trailer saying where each starts), setup.1 and files.1; files.1 lists
# every engine file and installs with -s. Then `-f -esetup.exe -sC:\Build`
# (as the loading program starts the installer for "*TODISK") copies the
# distribution onto drive A:, a folder mapped through
# dosdevices. A folder has the host's free space, so the transfer fits on
# one disk: no disk is asked for, and files.1 on A: is a one-volume set
# that verifies. With SHOTS=DIR set, the message of -f without -e is shown
# in a real window and captured as a PNG file in DIR (needs a display:
# run under xvfb-run).
# The kit's loading program and engine setup library are the cross-built
# ones, so what -b makes is what an author ships: the built setup.exe,
# started with no arguments, installs the demo (stand-alone, and as the
# loading program with setup.1 and files.1 beside it). Last, -b builds the
# program's built-in form, and that distribution's setup.exe installs the
# engine on a second, fresh prefix.
#   build_scenarios.sh SETUP_EXE LOADER_EXE QDSETUP_DLL SIM_BUILD_DIR SOURCE_DIR
set -uo pipefail
setup_exe=$1 loader_exe=$2 qdsetup=$3 sim=$4 src=$5
source "$src/tests/support/wine_scenario.sh"
need_sim_tools sample-engine/pellmore-sample-engine archive/pellmore-archive
scenario_begin build
archive_tool=$sim/tools/archive/pellmore-archive

authoring_prefix "$setup_exe"
cp "$loader_exe" "$c/Pellmore/PellmoreLoadProgram.exe"
cp "$qdsetup" "$c/Pellmore/QDSETUP.DLL"

export PELLMORE_UI=headless
# Runs C:\Authoring\setup.exe with the arguments given; the transcript is
# $work/ui.log, the error output $work/err.txt; $code is the exit code.
run() {
  rm -f "$work/ui.log"
  PELLMORE_FORM=$(winepath -w "$src/samples/install-demo.dfm") \
    PELLMORE_UI_LOG=$(winepath -w "$work/ui.log") \
    wine 'C:\Authoring\setup.exe' "$@" >"$work/out.txt" 2>"$work/err.txt" </dev/null
  code=$?
}
# The four numbers of a trailer (first and last byte of setup.1, of files.1).
trailer() { tail -c 40 "$1" | head -c 16 | od -An -tu4 | xargs; }
size() { stat -c %s "$1"; }

echo "== setup -b builds the demo"
run -b
b=$c/Build
check "exits 0, got $code" '[[ $code == 0 ]]'
check "setup.exe, setup.1 and files.1 are there, nothing half-built" \
  '[[ -s $b/setup.exe && -s $b/setup.1 && -s $b/files.1 && ! -e $b/setup.exe.tmp ]]'
loader=$c/Pellmore/PellmoreLoadProgram.exe
l=$(size "$loader") s=$(size "$b/setup.1") f=$(size "$b/files.1")
check "setup.exe is the loading program, setup.1, files.1 and 56 bytes of trailer" \
  '[[ $(size "$b/setup.exe") == $((l + s + f + 56)) ]] &&
   cat "$loader" "$b/setup.1" "$b/files.1" | cmp -s - <(head -c $((l + s + f)) "$b/setup.exe")'
check "the trailer is marked" '[[ $(tail -c 55 "$b/setup.exe" | head -c 14) == SELFEXTRACTING ]]'
check "the trailer says where setup.1 and files.1 are ($(trailer "$b/setup.exe"))" \
  '[[ "$(trailer "$b/setup.exe")" == "$l $((l + s - 1)) $((l + s)) $((l + s + f - 1))" ]]'
"$archive_tool" list "$b/files.1" >"$work/list.txt" 2>&1
missing=0
for file in "$engine"/*; do
  grep -qiF "$(basename "$file")" "$work/list.txt" || missing=$((missing + 1))
done
check "files.1 lists every engine file ($missing missing)" '[[ $missing == 0 ]]'
check "files.1 verifies" '"$archive_tool" verify "$b/files.1" >/dev/null 2>&1'

echo "== the built files.1 installs with -s"
mkdir -p "$c/SETUP"
cp "$setup_exe" "$c/SETUP/setup.exe"
cp "$b/files.1" "$c/SETUP/files.1"
dest=$pf/Quenby/Engine
rm -f "$work/ui.log"
PELLMORE_FORM=$(winepath -w "$src/samples/install-demo.dfm") \
  PELLMORE_UI_LOG=$(winepath -w "$work/ui.log") \
  wine 'C:\SETUP\setup.exe' '-sC:\SETUP' >"$work/out.txt" 2>"$work/err.txt" </dev/null
code=$?
check "exits 0, got $code" '[[ $code == 0 ]]'
check "every file installed unchanged" 'diff -r "$engine" "$dest" >/dev/null'

# Starts C:\dist\setup.exe with no arguments, as a double-click does.
double_click() {
  PELLMORE_FORM=$(winepath -w "$src/samples/install-demo.dfm") \
    wine 'C:\dist\setup.exe' >"$work/out.txt" 2>"$work/err.txt" </dev/null
  code=$?
}
echo "== the built setup.exe, started with no arguments, installs"
rm -rf "$dest" "$c/dist" && mkdir -p "$c/dist"
cp "$b/setup.exe" "$c/dist/setup.exe"
double_click
check "exits 0, got $code" '[[ $code == 0 ]]'
check "every file installed unchanged" 'diff -r "$engine" "$dest" >/dev/null'
check "no unpacked copy is left in the temporary folder" no_unpacked_copy

echo "== the loading program with the built setup.1 and files.1 beside it installs"
rm -rf "$dest" "$c/dist" && mkdir -p "$c/dist"
cp "$loader" "$c/dist/setup.exe"
cp "$b/setup.1" "$b/files.1" "$c/dist/"
double_click
check "exits 0, got $code" '[[ $code == 0 ]]'
check "every file installed unchanged" 'diff -r "$engine" "$dest" >/dev/null'
check "no unpacked copy is left in the temporary folder" no_unpacked_copy

echo "== setup -f copies it onto drive A:"
floppy=$work/floppy
mkdir -p "$floppy"
ln -sfn "$floppy" "$WINEPREFIX/dosdevices/a:"
run -f -esetup.exe '-sC:\Build'
check "exits 0, got $code" '[[ $code == 0 ]]'
check "no disk was asked for" '! grep -q "Please insert disk" "$work/ui.log"'
check "no message was shown" '! grep -q "\"message\"" "$work/ui.log"'
check "A:\\setup.exe is the loading program" 'cmp -s "$floppy/setup.exe" "$loader"'
check "A:\\setup.1 is setup.1" 'cmp -s "$floppy/setup.1" "$b/setup.1"'
check "A:\\files.1 holds as many bytes as files.1 (one volume)" \
  '[[ -s $floppy/files.1 && $(size "$floppy/files.1") == "$f" ]]'
check "A:\\files.1 verifies" \
  '"$archive_tool" verify "$floppy/files.1" --volumes "$floppy" >/dev/null 2>&1'
mkdir -p "$work/from-a"
"$archive_tool" extract "$floppy/files.1" -d "$work/from-a" --volumes "$floppy" >"$work/out.txt" 2>"$work/err.txt"
# The demo also carries the kit's uninstall program.
check "the files from A: are the engine's and the uninstall program" \
  'diff -r -x uninstall.exe "$engine" "$work/from-a" >&2 &&
   cmp -s "$work/from-a/uninstall.exe" "$c/Pellmore/uninstall.exe"'

echo "== setup -f without -e"
run -f
check "exits 1, got $code" '[[ $code == 1 ]]'
check "says to use the self-extracting file" \
  'grep -q "You can only transfer this installation to floppies through the self-extracting file" "$work/ui.log"'

if [[ -n ${SHOTS:-} ]]; then
  echo "== the message of -f without -e in a real window (screenshot in $SHOTS)"
  mkdir -p "$SHOTS"
  real_windows
  PELLMORE_UI=win32 PELLMORE_FORM=$(winepath -w "$src/samples/install-demo.dfm") \
    wine 'C:\Authoring\setup.exe' -f >"$work/out.txt" 2>&1 </dev/null &
  pid=$!
  sleep 6
  import -window root "$SHOTS/floppy-without-e.png"
  press_return  # the focused OK button
  wait $pid
  wcode=$?
  check "the windowed run exits 1, got $wcode" '[[ $wcode == 1 ]]'
fi

echo "== setup -b builds the built-in form; its setup.exe installs the engine elsewhere"
rm -rf "$c/Build"
rm -f "$work/ui.log"
env -u PELLMORE_FORM PELLMORE_UI_LOG="$(winepath -w "$work/ui.log")" \
  wine 'C:\Authoring\setup.exe' -b >"$work/out.txt" 2>"$work/err.txt" </dev/null
code=$?
check "exits 0, got $code" '[[ $code == 0 ]]'
check "setup.exe is there, nothing half-built" '[[ -s $b/setup.exe && ! -e $b/setup.exe.tmp ]]'
authored_qde="$pf/Quenby/Common Files/QDE"
wineserver -k >/dev/null 2>&1
eval "$("$src/scripts/wine-prefix" "$work/target")"
tc=$WINEPREFIX/drive_c
tpf=$("$src/scripts/wine-program-files" "$setup_exe")
mkdir -p "$tc/dist"
cp "$b/setup.exe" "$tc/dist/setup.exe"
env -u PELLMORE_FORM wine 'C:\dist\setup.exe' >"$work/out.txt" 2>"$work/err.txt" </dev/null
code=$?
check "the engine's setup.exe exits 0 on the fresh prefix, got $code" '[[ $code == 0 ]]'
# The configuration is merged from the template, which then goes; the
# control panel applet goes to the system directory; every other file is
# the authoring machine's.
differ=
for file in "$authored_qde"/*; do
  name=$(basename "$file") at="$tpf/Quenby/Common Files/QDE"
  [[ $name == qdeng32.cfg || $name == QDENG32.CNF ]] && continue
  [[ $name == QDMGR.CPL ]] && at=$tc/windows/system32
  cmp -s "$file" "$at/$name" || differ+=" $name"
done
check "every engine file installed unchanged (differ:${differ:- none})" '[[ -z $differ ]]'
check "the merged configuration is there" '[[ -s $tpf/Quenby/Common\ Files/QDE/qdeng32.cfg ]]'
check "no unpacked copy is left in the temporary folder" no_unpacked_copy

exit $fail
