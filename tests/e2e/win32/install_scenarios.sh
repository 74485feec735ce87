#!/usr/bin/env bash
# The demo installation run by the cross-built setup.exe under Wine, in a
# Wine prefix of its own: a clean install (headless, then in real windows,
# whose transcript shows the status and copy windows), the wizard sample
# in real windows, a cancel from the
# copy window confirmed and declined, a cancel at a missing second disk,
# a damaged archive keeping the bookkeeping key, a second run finding that
# key after the program moved, a different setup taking the next number, the missing -s message, -c without the loading program, and a
# destination held open by another program (a ".1" copy, a move at restart
# that `wineboot -r` performs, and the resume run RunOnce starts).
# The distribution is packed by the sim build's author tools, which
# scripts/test-all builds before the Win32 build.
# Then the engine with the program's built-in form and the real engine
# setup library: a fresh install, the same again, over the older 7.5
# engine with the user's settings, over a damaged configuration, and while
# the engine is in use (replaced at a later restart, which the resume run
# finishes).
#   install_scenarios.sh SETUP_EXE HOLDFILE_EXE SIM_BUILD_DIR SOURCE_DIR QDSETUP_DLL
set -uo pipefail
setup_exe=$1 holdfile=$2 sim=$3 src=$4 qdsetup=$5
source "$src/tests/support/wine_scenario.sh"
need_sim_tools machine/pellmore-machine sample-engine/pellmore-sample-engine pack/pellmore-pack archive/pellmore-archive
scenario_begin e2e

# The distribution: the sample engine on an authoring machine, packed.
authoring=$work/authoring
"$sim/tools/machine/pellmore-machine" create "$authoring" >/dev/null
"$sim/tools/sample-engine/pellmore-sample-engine" "$authoring/drive_c/Authoring/Engine82" >/dev/null
"$sim/tools/sample-engine/pellmore-sample-engine" --kit "$authoring/drive_c/Pellmore" >/dev/null
"$sim/tools/pack/pellmore-pack" --quiet "$authoring" "$src/samples/install-demo.dfm" 'C:\Build'
engine=$authoring/drive_c/Authoring/Engine82
archive=$authoring/drive_c/Build/files.1
old=$work/engine75
"$sim/tools/sample-engine/pellmore-sample-engine" --release 7.5 "$old" >/dev/null

form=$(winepath -w "$src/samples/install-demo.dfm")
sed 's/UseLoadingProgram = True/UseLoadingProgram = False/' "$src/samples/install-demo.dfm" \
  >"$work/no-loader.dfm"
c=$WINEPREFIX/drive_c
dest="$("$src/scripts/wine-program-files" "$setup_exe")/Quenby/Engine"
key='HKLM\Software\Pellmore\Install'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenby Database Engine\Files'

export PELLMORE_UI=headless
# Runs C:\<dir>\setup.exe with the arguments given; the transcript is
# $work/ui.log, the error output $work/err.txt; $code is the exit code.
# PELLMORE_UI_SCRIPT and PELLMORE_FORM may be set by the caller.
# LOG names another transcript (a Windows path).
run() {
  local dir=$1
  shift
  rm -f "$work/ui.log"
  PELLMORE_FORM=${FORM:-$form} PELLMORE_UI_LOG=${LOG:-$(winepath -w "$work/ui.log")} \
    wine "C:\\$dir\\setup.exe" "$@" >"$work/out.txt" 2>"$work/err.txt" </dev/null
  code=$?
}
# A setup directory holding setup.exe and the archive.
place() {
  rm -rf "${c:?}/$1"
  mkdir -p "$c/$1"
  cp -p "$setup_exe" "$c/$1/setup.exe" # a moved program keeps its date
  cp "${2:-$archive}" "$c/$1/files.1"
}
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n {print $3}'; }

echo "== a clean install"
place SETUP
run SETUP '-sC:\SETUP'
check "exits 0 (finished), got $code" '[[ $code == 0 ]]'
check "every file installed unchanged" 'diff -r "$engine" "$dest" >/dev/null'
check "the bookkeeping key is gone" '! wine reg query "HKLM\\Software\\Pellmore" >/dev/null 2>&1'
check "the uninstall record lists 31 files and 2 shortcuts" '[[ $(reg_value "$uninstall" Entries) == 33 ]]'
check "the transcript was written" '[[ -s $work/ui.log ]]'
check "the run ended on the completion page, closed by Finish" \
  'grep -q "\"caption\":\"Setup complete\"" "$work/ui.log" && grep -q "\"control\":\"FinishBtn\"" "$work/ui.log"'

echo "== the same install in real windows"
# The default buttons pressed through the windows: the same installation,
# and a transcript of what the windows showed equal to the headless one.
cp "$work/ui.log" "$work/ui-headless.log"
rm -rf "$dest"
wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenby Database Engine' \
  /f >/dev/null 2>&1
PELLMORE_UI=win32 PELLMORE_UI_SCRIPT=$(winepath -w "$src/tests/framework/data/no-answers.uiscript") \
  run SETUP '-sC:\SETUP'
check "exits 0 (finished), got $code" '[[ $code == 0 ]]'
check "every file installed unchanged" 'diff -r "$engine" "$dest" >/dev/null'
check "the windows showed what the headless run recorded" 'diff "$work/ui-headless.log" "$work/ui.log" >&2'

# What the real windows of that run showed: the status window while the
# file information is read, then the copy window with both bars full.
check "the status window said it reads file information" \
  'grep -q "\"form\":\"InstallStatusForm\".*\"text\":\"Reading file information\.\.\.\"" "$work/ui.log"'
for bar in ProgressBar1 ProgressBar2; do
  check "the copy window's $bar reached 100" \
    'grep -q "\"form\":\"CopyFileForm\".*\"name\":\"$bar\",\"position\":100," "$work/ui.log"'
done

# The wizard sample in real windows, answered by its own UI script: Back
# and Next through every page, the Custom setup into C:\Quenby, the
# administrator tool left out, a program folder of the user's; then the
# copy window and the completion page. The headless run of the same script
# must record the same.
echo "== the wizard sample in real windows"
# The user's program menu on the host.
programs_menu() {
  winepath -u "$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' \
    /v Programs 2>/dev/null | tr -d '\r' | sed -n 's/^ *Programs *REG_SZ *//p')"
}
wizard_run() {
  rm -rf "$c/Quenby"
  # The folder the script chooses is made by the run; the next run's
  # folder page must not find it among the existing ones.
  rm -rf "$(programs_menu)/Quenby Tools"
  wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenby Database Engine' \
    /f >/dev/null 2>&1
  local started=$SECONDS
  FORM=$(winepath -w "$src/samples/install-wizard.dfm") \
    PELLMORE_UI=$1 PELLMORE_UI_SCRIPT=$(winepath -w "$src/samples/install-wizard.ui") run SETUP '-sC:\SETUP'
  echo "     ($((SECONDS - started)) s)"
}
wizard_run headless
cp "$work/ui.log" "$work/ui-wizard-headless.log"
wizard_run win32
check "exits 0 (finished), got $code" '[[ $code == 0 ]]'
check "every step of the script was used" '! grep -q "\"event\":\"unused\"" "$work/ui.log"'
check "the pages came in order, Back included" \
  '[[ $(grep -o "\"form\":\"BaseFormContainer\",\"class\":\"TBaseFormContainer\",\"caption\":\"[^\"]*\"" "$work/ui.log" | uniq | sed "s/.*caption\":\"//; s/\"$//" | paste -sd "|") == "Welcome|Software license agreement|Readme information|Software license agreement|Readme information|Setup type|Select components to install|Select folder in start menu|Setup complete" ]]'
check "the engine went to the chosen destination" '[[ -f $c/Quenby/Engine/QDENG32.DLL && -f $c/Quenby/Engine/lcus.qlt ]]'
check "the group left out was not installed" '[[ ! -e $c/Quenby/Manager ]]'
# The drive list's free space is the host disk's, which moves between runs.
free_masked() { sed -E 's/("[0-9,]+ Bytes",)"[0-9,]+ Bytes"\]/\1"(free)"]/g' "$1"; }
check "the windows showed what the headless run recorded" \
  'diff <(free_masked "$work/ui-wizard-headless.log") <(free_masked "$work/ui.log") >&2'

# Cancel from the copy window in real windows, at half the total: the
# installer asks whether to cancel; the script answers.
# cancel_run ANSWER: runs the setup in real windows pressing Cancel when the
# total bar shows 50 and answering ANSWER; prints the seconds it took.
cancel_run() {
  printf 'await ProgressBar2 50\npress Cancel\nanswer %s\n' "$1" >"$work/cancel-$1.ui"
  wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenby Database Engine' \
    /f >/dev/null 2>&1
  local started=$SECONDS
  PELLMORE_UI=win32 PELLMORE_UI_SCRIPT=$(winepath -w "$work/cancel-$1.ui") run SETUP '-sC:\SETUP'
  echo "     ($((SECONDS - started)) s)"
}
awaited() { grep -q '"event":"await","form":"CopyFileForm","control":"ProgressBar2","value":"50"' "$work/ui.log"; }
asked() { grep -q '"event":"message".*"text":"Do you want to cancel the setup?"' "$work/ui.log"; }
# Each file that was in the destination before is as it was or wholly the
# new one (none cut short); prints how many are as they were.
unchanged_or_new() {
  local f b same=0
  for f in "$work/before"/*; do
    b=$(basename "$f")
    if cmp -s "$f" "$dest/$b"; then
      same=$((same + 1))
    elif ! cmp -s "$engine/$b" "$dest/$b"; then
      echo "     $b is neither as before nor the new file" >&2
      return 1
    fi
  done
  echo "$same"
}

echo "== a cancel confirmed half way through the copy, in real windows"
# An older engine and a file of the user's wait in the destination. The
# copy replaces older files as it goes and a cancel undoes nothing it
# finished; what it must not do is touch the user's file, the file it was
# copying when stopped, or any file it had not reached.
rm -rf "$dest" "$work/before"
mkdir -p "$dest"
cp "$old"/* "$dest/"
printf 'my own notes\r\n' >"$dest/notes.txt"
cp -r "$dest" "$work/before"
cancel_run Yes
check "exits 2 (cancelled), got $code" '[[ $code == 2 ]]'
check "the transcript shows the copy window" 'grep -q "\"form\":\"CopyFileForm\"" "$work/ui.log"'
check "the cancel came at the await" 'awaited'
check "the installer asked whether to cancel" 'asked'
check "the key is removed after the cancel" '! wine reg query "$key" >/dev/null 2>&1'
check "the user's file is byte-identical" 'cmp -s "$work/before/notes.txt" "$dest/notes.txt"'
stopped_at=$(grep '"form":"CopyFileForm"' "$work/ui.log" | tail -1 |
  sed -n 's/.*"name":"lblCopyingFile","text":"\([^"]*\)".*/\1/p')
check "the older file being copied at the cancel, ${stopped_at:-none}, is byte-identical" \
  '[[ -f $work/before/$stopped_at ]] && cmp -s "$work/before/$stopped_at" "$dest/$stopped_at"'
check "the other older files are as before or wholly replaced, some as before" \
  'same=$(unchanged_or_new) && [[ $same -gt 1 ]]'

echo "== a cancel declined half way through the copy, in real windows"
rm -rf "$dest"
cancel_run No
check "exits 0 (finished), got $code" '[[ $code == 0 ]]'
check "the cancel came at the await" 'awaited'
check "the installer asked whether to cancel" 'asked'
check "every file installed unchanged" 'diff -r "$engine" "$dest" >/dev/null'
check "the bookkeeping key is gone" '! wine reg query "HKLM\\Software\\Pellmore" >/dev/null 2>&1'

echo "== a cancel at a missing second disk"
rm -rf "$dest"
mkdir -p "$work/disks"
"$sim/tools/archive/pellmore-archive" split "$archive" "$work/disks" \
  --volume-size $(($(stat -c %s "$archive") / 2)) >/dev/null
place SETUP "$work/disks/files.1"
printf 'answer Cancel\n' >"$work/cancel.ui"
PELLMORE_UI_SCRIPT=$(winepath -w "$work/cancel.ui") run SETUP '-sC:\SETUP'
check "exits 2 (cancelled), got $code" '[[ $code == 2 ]]'
check "disk #2 was asked for once" '[[ $(grep -c "Please insert disk #2" "$work/ui.log") == 1 ]]'
check "the key is removed after the cancel" '! wine reg query "$key" >/dev/null 2>&1'

echo "== a damaged archive"
rm -rf "$dest"
cp "$archive" "$work/damaged.1"
python3 -c "import sys; p=sys.argv[1]; b=bytearray(open(p,'rb').read()); b[-2]^=0x5A; open(p,'wb').write(b)" \
  "$work/damaged.1"
place SETUP "$work/damaged.1"
run SETUP '-sC:\SETUP'
check "exits 1 (failed), got $code" '[[ $code == 1 ]]'
check "the error was shown" '[[ -s $work/err.txt ]]'
check "the key Install0 stays" 'wine reg query "$key\\Install0" >/dev/null 2>&1'

echo "== the same setup moved finds its key"
place MOVED "$work/damaged.1"
run MOVED '-sC:\MOVED'
check "exits 1 again, got $code" '[[ $code == 1 ]]'
check "Install0 now records the new path" \
  '[[ $(reg_value "$key\\Install0" Path) == "C:\\MOVED\\setup.exe" ]]'
check "no second key was made" '! wine reg query "$key\\Install1" >/dev/null 2>&1'

echo "== a different setup takes the next number"
place OTHER "$work/damaged.1"
printf 'x' >>"$c/OTHER/setup.exe" # another size: another setup program
run OTHER '-sC:\OTHER'
check "Install1 belongs to the other setup" \
  '[[ $(reg_value "$key\\Install1" Path) == "C:\\OTHER\\setup.exe" ]]'
wine reg delete "HKLM\\Software\\Pellmore" /f >/dev/null 2>&1

echo "== the loading program's -s is missing"
place SETUP
run SETUP
check "exits 1, got $code" '[[ $code == 1 ]]'
check "says how to pass the loading program's path" \
  'grep -q "The path of the loading program was not passed correctly" "$work/err.txt"'

echo "== -c without the loading program writes no clean-up batch"
rm -rf "$dest"
place SETUP
before=$(ls "$c/windows/temp" 2>/dev/null | grep -ic '\.bat$')
FORM=$(winepath -w "$work/no-loader.dfm") run SETUP -c
check "exits 0, got $code" '[[ $code == 0 ]]'
check "the setup directory stays" '[[ -f $c/SETUP/setup.exe ]]'
check "no batch file was written" \
  '[[ $(ls "$c/windows/temp" 2>/dev/null | grep -ic "\.bat$") == "$before" ]]'

echo "== a UI script, a form and a transcript in a folder named Größe-測試"
# The names reach the program through its environment and its file calls;
# characters that no single-byte code page holds survive only the wide
# calls. The host's locale is UTF-8 so that Wine hands them over unchanged.
rm -rf "$dest"
odd='Größe-測試'
rm -rf "${c:?}/$odd"
mkdir -p "$c/$odd"
sed "s/^  Caption = .*/  Caption = 'Setup aus $odd'/" "$src/samples/install-demo.dfm" >"$c/$odd/form.dfm"
printf '# the completion page, then an answer nothing in a clean install asks for:\n# that step is reported unused\npress Finish\nanswer Retry\n' \
  >"$c/$odd/setup.ui"
place SETUP
LC_ALL=C.UTF-8 PELLMORE_UI_SCRIPT="C:\\$odd\\setup.ui" FORM="C:\\$odd\\form.dfm" \
  LOG="C:\\$odd\\ui.log" run SETUP '-sC:\SETUP'
cp "$c/$odd/ui.log" "$work/ui.log" 2>/dev/null
check "exits 0 (finished), got $code" '[[ $code == 0 ]]'
check "the transcript is in the folder" '[[ -s $c/$odd/ui.log ]]'
check "the form came from the folder" 'grep -q "\"caption\":\"Setup aus $odd\"" "$work/ui.log"'
check "the script came from the folder" 'grep -q "\"event\":\"unused\",\"line\":4" "$work/ui.log"'
check "every file installed unchanged" 'diff -r "$engine" "$dest" >/dev/null'
LC_ALL=C.UTF-8 PELLMORE_UI_SCRIPT="C:\\$odd\\none.ui" run SETUP '-sC:\SETUP'
check "a missing script there is named in full, got $code" \
  'grep -qF "Cannot read the UI script C:\\$odd\\none.ui: the file cannot be opened (No such file or directory)" "$work/err.txt"'

echo "== a destination held by another program waits for the restart"
rm -rf "$dest"
mkdir -p "$dest"
cp "$old"/* "$dest/"
held="$dest/QDENG32.DLL"
wine "$(winepath -w "$holdfile")" "$(winepath -w "$held")" "$(winepath -w "$work/held")" \
  "$(winepath -w "$work/release")" >/dev/null 2>&1 &
holder=$!
for _ in $(seq 300); do [[ -e $work/held ]] && break; sleep 0.1; done
place SETUP
run SETUP '-sC:\SETUP'
check "exits 3 (restart required), got $code" '[[ $code == 3 ]]'
check "the reboot page asked, opening on Yes" \
  'grep "\"caption\":\"Reboot windows\"" "$work/ui.log" | grep -q "\"index\":0"'
check "the held file is untouched" 'cmp -s "$held" "$old/QDENG32.DLL"'
check "the new copy waits as QDENG32.1" 'cmp -s "$dest/QDENG32.1" "$engine/QDENG32.DLL"'
# Wine's restart request performs the restart's steps in the prefix at once
# (as wineboot -r does) without ending the programs that run: the pending
# move is tried while the file is still held and dropped, and RunOnce
# starts the resume run, which finishes the installation. The request
# returns before that work is done, so wait for it (up to two minutes on a
# loaded machine) before looking.
pending() {
  wine reg query "HKLM\\System\\CurrentControlSet\\Control\\Session Manager" \
    /v PendingFileRenameOperations >/dev/null 2>&1
}
run_once() {
  wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce" \
    /v PellmoreUnfinished >/dev/null 2>&1
}
bookkeeping() { wine reg query "HKLM\\Software\\Pellmore" >/dev/null 2>&1; }
for _ in $(seq 120); do
  if ! pending && ! run_once && ! bookkeeping; then break; fi
  sleep 1
done
check "the restart took the scheduled move" '! pending'
check "RunOnce started the resume run" '! run_once'
check "which removed the bookkeeping key" '! bookkeeping'
touch "$work/release"
wait "$holder"

echo "== the engine with the built-in form and the real QDSETUP.DLL"
engine_distribution "$setup_exe" "$qdsetup"
# The built-in form: no PELLMORE_FORM.
run_builtin() {
  rm -f "$work/ui.log"
  env -u PELLMORE_FORM PELLMORE_UI_LOG="$(winepath -w "$work/ui.log")" \
    ${SCRIPT:+"PELLMORE_UI_SCRIPT=$SCRIPT"} \
    wine 'C:\ENGINE\setup.exe' '-sC:\ENGINE' >"$work/out.txt" 2>"$work/err.txt" </dev/null
  code=$?
}
setting() { tr -d '\r' <"$1" | grep -c "^$2\$"; }
# The shared-DLL count of the engine library, under whichever name of it
# the count was kept.
shared_count() {
  wine reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs' 2>/dev/null |
    tr -d '\r' | grep -i 'QDENG32\.DLL' | grep -o '0x[0-9a-f]*' | head -1
}
cfg="$qde/qdeng32.cfg"

run_builtin
check "a fresh install exits 0, got $code" '[[ $code == 0 ]]'
check "the engine's files are the 8.2 ones" 'cmp -s "$qde/QDENG32.DLL" "$eng_files/QDENG32.DLL" && cmp -s "$qde/QLKKST32.DLL" "$eng_files/QLKKST32.DLL"'
check "ENGINEPATH names the engine directory" '[[ $(reg_text "$qkey" ENGINEPATH) == "${qde_win^^}" ]]'
check "CONFIGPATH names the merged configuration" '[[ $(reg_text "$qkey" CONFIGPATH) == "$qde_win\\qdeng32.cfg" ]]'
check "the configuration is 8.2's, localised" '[[ $(setting "$cfg" VERSION=8.2) == 1 && $(setting "$cfg" LANGCODE=0009) == 1 ]]'
check "the template was merged and removed" '[[ ! -e $qde/QDENG32.CNF ]]'
check "the Kestrel settings are in the registry" \
  '[[ $(reg_text "$qkey\\Options\\Drivers\\KESTREL\\SESSION" "COMMIT MODE") == "SHARED AUTO" ]]'
check "the use count is 1" '[[ $(reg_text "$qkey" USECOUNT) == 1 ]]'
check "the engine library is counted once" '[[ $(shared_count) == 0x1 ]]'
check "the uninstall record counts 1" '[[ $(reg_text "$quninstall" Entries) == 1 ]]'
# The main link group's folder, in the program menu the user's shell
# folders name.
programs=$(reg_text 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs)
check "the program-menu folder Quenby Database Engine was made" \
  '[[ -n $programs && -d $(winepath -u "$programs\\Quenby Database Engine") ]]'

run_builtin
check "the same version again exits 0, got $code" '[[ $code == 0 ]]'
check "the use count is 2" '[[ $(reg_text "$qkey" USECOUNT) == 2 ]]'
check "the engine library is counted twice" '[[ $(shared_count) == 0x2 ]]'
check "the uninstall record counts 2" '[[ $(reg_text "$quninstall" Entries) == 2 ]]'
check "the configuration is still one file that parses the same" '[[ $(setting "$cfg" VERSION=8.2) == 1 ]]'

echo "== the engine over the older 7.5 engine with the user's settings"
older_engine
check "the older engine is in place" '[[ $(setting "$cfg" VERSION=7.5) == 1 && $(reg_text "$qkey" USECOUNT) == 1 ]]'
run_builtin
check "exits 0, got $code" '[[ $code == 0 ]]'
check "the engine's files are the 8.2 ones" 'cmp -s "$qde/QDENG32.DLL" "$eng_files/QDENG32.DLL"'
check "the merged configuration is 8.2's" '[[ $(setting "$cfg" VERSION=8.2) == 1 && $(setting "$cfg" SHAREDMEMLOCATION=0x5BDE) == 1 ]]'
check "the user's settings are kept" \
  '[[ $(setting "$cfg" MAXFILEHANDLES=96) == 1 && $(setting "$cfg" HOST=PRODSRV) == 1 && $(setting "$cfg" "PATH=D:\\\\DATA\\\\SALES") == 1 ]]'
check "the use count went on from the older engine's" '[[ $(reg_text "$qkey" USECOUNT) == 2 ]]'
check "the engine library's count went on from the older engine's" '[[ $(shared_count) == 0x2 ]]'

echo "== the engine over a damaged configuration"
printf '[SYSTEM INIT]\r\nVERSION=8.2\r\nthis line is no setting\r\n' >"$cfg"
cp "$cfg" "$work/damaged.cfg"
run_builtin
check "exits 0, got $code" '[[ $code == 0 ]]'
check "the damaged file is untouched" 'cmp -s "$cfg" "$work/damaged.cfg"'
check "CONFIGPATH names QDENGNEW.CFG beside it" '[[ $(reg_text "$qkey" CONFIGPATH) == "$qde_win\\QDENGNEW.CFG" ]]'
check "QDENGNEW.CFG is the new configuration" '[[ $(setting "$qde/QDENGNEW.CFG" VERSION=8.2) == 1 ]]'

echo "== the engine in use during an upgrade, replaced at a later restart"
older_engine
cp "$qde/QDENG32.DLL" "$work/QDENG32-75.DLL"
rm -f "$work/held" "$work/release"
wine "$(winepath -w "$holdfile")" "$(winepath -w "$qde/QDENG32.DLL")" "$(winepath -w "$work/held")" \
  "$(winepath -w "$work/release")" >/dev/null 2>&1 &
holder=$!
for _ in $(seq 300); do [[ -e $work/held ]] && break; sleep 0.1; done
# The user restarts later: No on the reboot page.
printf 'pick RG 1\npress FinishBtn\n' >"$work/later.ui"
SCRIPT=$(winepath -w "$work/later.ui") run_builtin
check "exits 3 (restart required), got $code" '[[ $code == 3 ]]'
check "the engine library in use is untouched" 'cmp -s "$qde/QDENG32.DLL" "$work/QDENG32-75.DLL"'
check "the configuration is merged already" '[[ $(setting "$cfg" VERSION=8.2) == 1 && $(setting "$cfg" HOST=PRODSRV) == 1 ]]'
touch "$work/release"
wait "$holder"
wine wineboot -r >/dev/null 2>&1
for _ in $(seq 120); do
  if ! pending && ! run_once && ! bookkeeping; then break; fi
  sleep 1
done
check "the restart replaced the engine library" 'cmp -s "$qde/QDENG32.DLL" "$eng_files/QDENG32.DLL"'
check "RunOnce started the resume run, which removed the bookkeeping key" '! run_once && ! bookkeeping'
check "the use count went on once" '[[ $(reg_text "$qkey" USECOUNT) == 2 ]]'

exit $fail
