#!/usr/bin/env bash
# The setup killed at random moments of a real install under Wine: the
# engine with the program's built-in form and the real engine setup library
# upgrades the older 7.5 engine, beside which the user keeps a file of his
# own. Each round puts the older engine back, starts the install, waits a
# pseudo-random delay, kills setup.exe with SIGKILL (the Windows program
# itself: the `wine` command execs into it), waits until it is gone and
# runs the same install once more, which must finish (exit 0). What the
# kill left must have lost nothing: each older file is as it was or wholly
# the new one, the user's file and settings are untouched; after the rerun
# every file is the engine's, the configuration is merged with the user's
# settings and no bookkeeping key or RunOnce entry is left to trouble the
# next run. Kills that came before the program changed anything, or after
# it had ended by itself, are counted apart.
#   kill_scenarios.sh SETUP_EXE SIM_BUILD_DIR SOURCE_DIR QDSETUP_DLL
# KILLS=N sets the number of rounds (default 24, about two minutes;
# KILLS=40 for a longer series); SEED=S replays a series (the seed is
# printed). KEEP=1 keeps the work directory.
set -uo pipefail
setup_exe=$1 sim=$2 src=$3 qdsetup=$4
kills=${KILLS:-24}
seed=${SEED:-$(((RANDOM << 15) | RANDOM))}
echo "== $kills kills, seed $seed (SEED=$seed KILLS=$kills replays this series)"

source "$src/tests/support/wine_scenario.sh"
need_sim_tools machine/pellmore-machine sample-engine/pellmore-sample-engine pack/pellmore-pack
scenario_begin kill
engine_distribution "$setup_exe" "$qdsetup"
export PELLMORE_UI=headless
unset PELLMORE_FORM # the built-in form
log_win=$(winepath -w "$work/ui.log")
# The control panel applet goes to the program's system folder: the 32-bit
# one on 64-bit Windows for a 32-bit setup.exe.
sysdir=$c/windows/system32
[[ $("$src/scripts/wine-program-files" "$setup_exe") == */"Program Files (x86)" ]] && sysdir=$c/windows/syswow64

# Starts the install in the background; $pid is setup.exe itself.
start_setup() {
  rm -f "$work/ui.log"
  PELLMORE_UI_LOG=$log_win wine 'C:\ENGINE\setup.exe' '-sC:\ENGINE' \
    >"$work/out.txt" 2>"$work/err.txt" </dev/null &
  pid=$!
}
run_setup() {
  start_setup
  wait "$pid"
  code=$?
}
# A fault of one round, without the transcripts `check` shows.
fault() {
  echo "FAIL $1"
  fail=1
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# The machine as the user had it: the older engine and a file of his own.
user_machine() {
  older_engine
  rm -f "${sysdir:-$work}/QDMGR.CPL"
  printf 'my own notes\r\n' >"$qde/notes.txt"
}
setting() { tr -d '\r' <"$1" 2>/dev/null | grep -c "^$2\$"; }
users_settings() {
  [[ $(setting "$1" MAXFILEHANDLES=96) == 1 && $(setting "$1" HOST=PRODSRV) == 1 &&
    $(setting "$1" "PATH=D:\\\\DATA\\\\SALES") == 1 ]]
}
bookkeeping() { wine reg query 'HKLM\Software\Pellmore' >/dev/null 2>&1; }
run_once() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' \
    /v PellmoreUnfinished >/dev/null 2>&1
}
# Files in the engine's folder that neither the engine nor the older one nor
# the user put there.
strays() {
  local f
  for f in "$qde"/*; do
    [[ -e $f ]] || continue
    f=$(basename "$f")
    [[ -e $eng_files/$f || -e $work/before/$f ]] || echo "$f"
  done
}
# What a kill may leave of a file that was there: the file as it was or
# wholly the new one. The configuration may be merged already (then it is
# 8.2's, holding the user's settings); the older template may be gone, since
# the merge removes it. Prints what is neither.
damaged_after_kill() {
  local f b
  for f in "$work/before"/*; do
    b=$(basename "$f")
    cmp -s "$f" "$qde/$b" && continue
    case $b in
    notes.txt) ;;
    qdeng32.cfg) [[ $(setting "$qde/$b" VERSION=8.2) == 1 ]] && users_settings "$qde/$b" && continue ;;
    QDENG32.CNF) [[ ! -e $qde/$b ]] || cmp -s "$eng_files/$b" "$qde/$b" && continue ;;
    *) cmp -s "$eng_files/$b" "$qde/$b" && continue ;;
    esac
    echo "$b"
  done
}
# After a finished run: what is not the engine's file, or lost.
wrong_after_rerun() {
  local f b
  for f in "$eng_files"/*; do
    b=$(basename "$f")
    case $b in
    QDENG32.CNF) [[ ! -e $qde/$b ]] || echo "$b (the merged template stayed)" ;;
    qdeng32.cfg)
      [[ $(setting "$qde/$b" VERSION=8.2) == 1 ]] && users_settings "$qde/$b" ||
        echo "$b (not 8.2's with the user's settings)"
      ;;
    QDMGR.CPL) cmp -s "$f" "$sysdir/$b" || echo "$b (in the system folder)" ;;
    *) cmp -s "$f" "$qde/$b" || echo "$b" ;;
    esac
  done
  cmp -s "$work/before/notes.txt" "$qde/notes.txt" || echo "notes.txt (the user's file)"
}

echo "== unkilled runs measure the install"
# The first run in a fresh prefix makes what later runs find (the program
# menu, Wine's shell); the second is the one a killed run repeats.
user_machine
cp -r "$qde" "$work/before"
took=0
for round in warm-up measured; do
  user_machine
  started=$(now_ms)
  run_setup
  ms=$(($(now_ms) - started))
  echo "     $round run: exit $code, $ms ms"
  ((ms > took)) && took=$ms
done
check "an unkilled install exits 0, got $code" '[[ $code == 0 ]]'
check "and installs the engine" '[[ -z $(wrong_after_rerun) ]]'
check "and leaves no bookkeeping key" '! bookkeeping'
uses_unkilled=$(reg_text "$qkey" USECOUNT)
# Some kills come after the run: the delays cover a quarter more than the
# longer of the two (a run's time varies with the machine's load).
span=$((took * 5 / 4))
echo "     delays from 0 to $span ms"

RANDOM=$seed
landed_mid=0 landed_before=0 landed_after=0 finished=0 lost=0 key_left=0 run_once_left=0
strays_left=0 extra_uses=0
for ((i = 1; i <= kills; i++)); do
  round_started=$(now_ms)
  user_machine
  delay=$((((RANDOM << 15) | RANDOM) % (span + 1)))
  start_setup
  sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  # Anything setup.exe started goes with it.
  children=$(pgrep -P "$pid" | tr '\n' ' ')
  kill -9 "$pid" $children 2>/dev/null
  { wait "$pid"; } 2>/dev/null # not the shell's "Killed" notice
  kcode=$?
  if [[ $kcode != 137 ]]; then
    where="after (it had ended, exit $kcode)"
    landed_after=$((landed_after + 1))
  elif bookkeeping || ! diff -rq "$work/before" "$qde" >/dev/null 2>&1; then
    where=mid-install
    landed_mid=$((landed_mid + 1))
    bookkeeping && key_left=$((key_left + 1))
    run_once && run_once_left=$((run_once_left + 1))
  else
    where="before (nothing changed yet)"
    landed_before=$((landed_before + 1))
  fi
  damaged=$(damaged_after_kill | paste -sd ' ')
  left=$(strays | paste -sd ' ')
  run_setup
  [[ $code == 0 ]] && finished=$((finished + 1))
  wrong=$(wrong_after_rerun | paste -sd ',')
  uses=$(reg_text "$qkey" USECOUNT)
  # A run that had ended counted once; its rerun counts once more.
  [[ $kcode != 137 ]] && ((uses == uses_unkilled + 1)) || [[ $kcode == 137 && $uses == "$uses_unkilled" ]] ||
    extra_uses=$((extra_uses + 1))
  after_strays=$(strays | paste -sd ' ')
  [[ -n $after_strays ]] && strays_left=$((strays_left + 1))
  echo "kill $i at $delay ms: $where; rerun exit $code, use count $uses${left:+; the kill left $left} ($(($(now_ms) - round_started)) ms)"
  [[ -n $damaged || -n $wrong ]] && lost=$((lost + 1))
  [[ -z $damaged ]] || fault "kill $i: as it left them, these are neither as before nor new: $damaged" false
  [[ $code == 0 ]] || check "kill $i: the rerun exits 0, got $code" false
  [[ -z $wrong ]] || fault "kill $i: after the rerun these are not the engine's: $wrong"
  [[ -z $after_strays ]] || echo "     the rerun left beside the engine: $after_strays"
  if bookkeeping || run_once; then
    fault "kill $i: the rerun left the bookkeeping key or the RunOnce entry"
  fi
done

echo "== the series (seed $seed)"
printf '%-44s %5s\n' "kills" "$kills" \
  "kills that landed mid-install" "$landed_mid" \
  "  of which left the bookkeeping key" "$key_left" \
  "  of which left a RunOnce entry" "$run_once_left" \
  "kills before the program changed anything" "$landed_before" \
  "kills after the program had ended" "$landed_after" \
  "reruns that finished (exit 0)" "$finished" \
  "rounds with files lost or truncated" "$lost" \
  "rounds whose rerun left stray files" "$strays_left" \
  "rounds whose use count is off" "$extra_uses"
[[ $finished == "$kills" ]] && echo "ok   every rerun finished" || fault "not every rerun finished"
[[ $lost == 0 ]] && echo "ok   nothing was lost or truncated" || fault "something was lost or truncated"
exit $fail
