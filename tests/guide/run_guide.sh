#!/usr/bin/env bash
# Runs docs/guide.md as a new author would: its ```sh blocks (and, with
# --wine, its ```sh wine blocks after them) in order, as one script, in a
# fresh working directory, against the kit's already-built programs; then
# checks what they made. Prose blocks (```dfm, ```text) are not run.
#   run_guide.sh [--wine] SOURCE_DIR SIM_BUILD_DIR [WIN_BUILD_DIR]
# With --wine and SHOTS=DIR set (and a display), the sample's wizard pages
# are also captured in real windows as DIR/my-product-*.png.
set -uo pipefail
wine_mode=
if [[ ${1:-} == --wine ]]; then
  wine_mode=1
  shift
fi
src=$1 sim=$2 winbuild=${3:-}
for program in src/app/setup src/uninstaller/pellmore-uninstall tools/machine/pellmore-machine \
  tools/pegen/pellmore-pegen tools/sample-engine/pellmore-sample-engine; do
  [[ -x $sim/$program ]] || { echo "FAIL: $sim/$program is missing: build the sim preset first"; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/pellmore-guide.XXXXXX")
trap '[[ -n $wine_mode ]] && wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
mkdir "$work/run"

# The runnable blocks, in order: an opening fence of exactly "```sh" (or
# "```sh wine" in Wine mode) up to the closing fence.
awk -v wine="$wine_mode" '
  /^```/ && inblock { inblock = 0; next }
  /^```sh[ \t]*$/ { inblock = 1; next }
  /^```sh wine[ \t]*$/ { inblock = (wine != ""); next }
  inblock
' "$src/docs/guide.md" >"$work/guide.sh"
blocks=$(grep -c '^```sh' "$src/docs/guide.md")

fail=0
check() {
  if eval "$2"; then echo "ok   $1"; else
    echo "FAIL $1"
    fail=1
  fi
}

echo "== the guide's commands ($blocks blocks; log: guide.log)"
started=$SECONDS
(cd "$work/run" && env PELLMORE_SRC="$src" PELLMORE_BUILD="$sim" \
  ${winbuild:+PELLMORE_WIN_BUILD="$winbuild"} bash -euo pipefail "$work/guide.sh") \
  >"$work/guide.log" 2>&1
code=$?
echo "     ($((SECONDS - started)) s)"
check "every command succeeded (exit code $code)" '[[ $code == 0 ]]'
[[ $code == 0 ]] || tail -20 "$work/guide.log" | sed 's/^/     log: /'

r=$work/run
m=$sim/tools/machine/pellmore-machine
log() { grep -q -- "$1" "$work/guide.log"; }
dist=$r/authoring/drive_c/Larkspur/Dist
check "setup -b made setup.exe, setup.1 and files.1" '[[ -s $dist/setup.exe && -s $dist/setup.1 && -s $dist/files.1 ]]'
check "the release's shared DLL has a version resource" 'grep -qa "2\.3\.0\.40" "$r/release-1.0/LARKCORE.DLL" || grep -qaP "2\x00\.\x003\x00\.\x000\x00\.\x004\x000" "$r/release-1.0/LARKCORE.DLL"'

# A fresh install (the machine "other", left installed): files, the
# Start-menu folder with its links, the uninstall record.
o=$r/other/drive_c
start_menu='WINNT/Profiles/Administrator/Start Menu/Programs/Larkspur Notes'
check "installed: the programs, help, licence and uninstall program" \
  'for f in LARKNOTE.EXE LARKSYNC.EXE NOTES.HTM LICENSE.TXT uninstall.exe; do [[ -f "$o/Program Files/Larkspur/Notes/$f" ]] || exit 1; done'
check "the programs are release 1.0 byte for byte" \
  'cmp -s "$r/release-1.0/LARKNOTE.EXE" "$o/Program Files/Larkspur/Notes/LARKNOTE.EXE" && cmp -s "$r/release-1.0/LARKSYNC.EXE" "$o/Program Files/Larkspur/Notes/LARKSYNC.EXE"'
check "the Start-menu folder has its four shortcuts" '[[ $(ls "$o/$start_menu" 2>/dev/null | grep -c "\.lnk$") == 4 ]]'
check "the program shortcut points at the installed program" \
  '"$m" link "$r/other" "C:\\${start_menu//\//\\}\\Larkspur Notes.lnk" | grep -qi "Larkspur\\\\Notes\\\\LARKNOTE.EXE"'
uninstall_key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Larkspur Notes'
check "the uninstall record names the uninstall program and 9 entries" \
  '"$m" reg "$r/other" dump "$uninstall_key" | grep -q "UninstallString.*uninstall.exe Larkspur Notes" && "$m" reg "$r/other" dump "$uninstall_key\\Files" | grep -q "\"Entries\" REG_SZ \"9\""'
check "a newer shared DLL on the machine was kept" 'log "2.4 kept"'
check "the wizard went Welcome, licence, folder, copy, completion" \
  '[[ $(grep -o "\"caption\":\"[^\"]*\"" "$r/install.jsonl" | grep -v Setup\" | uniq | sed "s/.*:\"//; s/\"$//" | grep -v "^Quenby\|^Larkspur" | paste -sd "|") == "Welcome|Software license agreement|Select folder in start menu|Copying installation files|Setup complete" ]]'
check "the licence page showed the sample's own agreement" \
  'grep -q "LARKSPUR NOTES LICENCE AGREEMENT" "$r/install.jsonl"'
check "the UI script was used up" '! grep -q "\"event\":\"unused\"" "$r/install.jsonl"'
check "the first install and the upgrade exit 0" 'log "installed (exit code 0)" && log "upgraded (exit code 0)"'
check "the upgrade ran the 1.1 setup" 'grep -q "Larkspur Notes 1.1 Setup" "$r/upgrade.jsonl"'
check "the upgrade replaced the programs (release 1.1 dates listed)" \
  'grep -E "2024-09-01 12:00:00 +27136 +LARKNOTE.EXE" "$work/guide.log" >/dev/null'

# The uninstall on the machine "target" after the upgrade and the restart.
t=$r/target/drive_c
check "uninstalled: only the user's own file is left" \
  '[[ $(ls "$t/Program Files/Larkspur/Notes" 2>/dev/null) == mynotes.txt ]]'
check "the shared DLL and the Start-menu folder are gone" \
  '[[ ! -e "$t/Program Files/Common Files/Larkspur Shared/LARKCORE.DLL" && ! -e "$t/$start_menu" ]]'
check "no uninstall record and no shared-DLL count is left" \
  '! "$m" reg "$r/target" dump | grep -qi "larkspur"'

if [[ -n $wine_mode ]]; then
  check "Wine: the setup installed" 'log "installed under Wine"'
  check "Wine: the setup ended on the completion page" 'grep -q "\"caption\":\"Setup complete\"" "$r/wine-install.jsonl"'
  check "Wine: uninstaller --list showed the product" 'log "Larkspur Notes"'
  check "Wine: our uninstall program asked and reported" \
    'grep -q "Do you want to remove Larkspur Notes" "$r/wine-uninstall.jsonl" && grep -q "Larkspur Notes was removed from this computer" "$r/wine-uninstall.jsonl"'
  wc=$r/prefix/drive_c
  check "Wine: no file of the product is left after the restart" \
    '! find "$wc" -ipath "*larkspur*" -type f | grep -q .'
  check "Wine: no uninstall record is left" '! grep -qi "Uninstall\\\\\\\\Larkspur Notes" "$r/prefix/system.reg"'
  [[ -n ${SHOTS:-} ]] && source "$(dirname "$0")/wizard_shots.sh"
fi
[[ $fail == 0 ]] || { echo "guide.log:"; sed 's/^/     /' "$work/guide.log" | tail -40; }
exit $fail
