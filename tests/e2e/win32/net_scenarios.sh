#!/usr/bin/env bash
# The web distribution end to end under Wine, with Wine's own internet
# library talking to the loopback test servers: `setup.exe -b` builds the
# net sample in an authoring prefix (per-object archives and filelist.lst
# under the location's Directory), the built folder is served, and
# `setup.exe -s` installs from it over HTTP, anonymous FTP and the named
# FTP login. Then the ways a download fails (refused, unknown host, wrong
# password, a missing archive, a connection dropped mid-archive) and a
# cancel from the copy window while an archive comes slowly; each ends
# with its exit code and message, and a file of the user's in the
# destination stays as it was. With SHOTS=DIR the copy window is captured
# on screen while it shows the transfer picture (needs a display: run under
# xvfb-run). KEEP=1 keeps the work directory (prefix, forms, transcripts).
# Run through tests/support/servers/with_servers.sh, which passes the
# servers' ports and served directory in the environment.
#   net_scenarios.sh SETUP_EXE SIM_BUILD_DIR SOURCE_DIR
set -uo pipefail
setup_exe=$1 sim=$2 src=$3
if [[ ! -x $sim/tools/sample-engine/pellmore-sample-engine ]]; then
  echo "FAIL: $sim/tools/sample-engine/pellmore-sample-engine is missing: build the sim preset first"
  exit 1
fi
if [[ -z ${PELLMORE_TEST_HTTP_PORT:-} || -z ${PELLMORE_TEST_FTP_PORT:-} ]]; then
  echo "FAIL: no test servers: run this through tests/support/servers/with_servers.sh"
  exit 1
fi
http=127.0.0.1:$PELLMORE_TEST_HTTP_PORT
ftp=127.0.0.1:$PELLMORE_TEST_FTP_PORT
served=${PELLMORE_TEST_NET_ROOT#Z:}

source "$src/tests/support/wine_scenario.sh"
scenario_begin net

# The net sample with its login changed: form NAME KEY=VALUE... writes
# $work/NAME.dfm, each LoginInformation property given replacing the
# sample's or added to it.
form() {
  local name=$1
  shift
  local props=""
  for kv in "$@"; do props+="    LoginInformation.${kv%%=*} = ${kv#*=}"$'\n'; done
  awk -v props="$props" '
    /^  object NetLocation1: TNetInstallLocation/ { inloc = 1; print; printf "%s", props; next }
    inloc && /^  end/ { inloc = 0 }
    inloc { split($1, k, "="); key = k[1]; if (index(props, key " =")) next }
    { print }' "$src/samples/install-net.dfm" >"$work/$name.dfm"
}

authoring_prefix "$setup_exe"
mkdir -p "$c/SETUP"
cp "$setup_exe" "$c/SETUP/setup.exe"
dest=$pf/Quenby/Engine
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenby Database Engine'

# The Windows path of a host path (Wine's drive Z:), worked out here: a
# `winepath` call that answers nothing would leave PELLMORE_FORM empty,
# and the run would quietly use the program's built-in form instead.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

export PELLMORE_UI=headless
# Runs C:\DIR\setup.exe with form $work/FORM.dfm and the arguments given;
# the transcript is $work/ui.log, the error output $work/err.txt; $code is
# the exit code. PELLMORE_UI_SCRIPT may be set by the caller.
run() {
  local dir=$1 name=$2
  shift 2
  rm -f "$work/ui.log"
  PELLMORE_FORM=$(winpath "$work/$name.dfm") PELLMORE_UI_LOG=$(winpath "$work/ui.log") \
    wine "C:\\$dir\\setup.exe" "$@" >"$work/out.txt" 2>"$work/err.txt" </dev/null
  code=$?
  return $code
}
# A fresh destination: nothing of an earlier install, no record of it. The
# setup's bookkeeping key stays: a failed run keeps it with the archives it
# downloaded, for the next run to use and remove.
fresh() {
  rm -rf "$dest"
  wine reg delete "$uninstall_key" /f >/dev/null 2>&1
}
# The setup's downloads lying in the prefix's temporary directories.
downloads() {
  find "$c" -ipath '*temp*' -type f \( -iname 'net*.tmp' -o -iname 'dl*.tmp' -o -iname 'lst*.tmp' \) |
    wc -l
}
# The message boxes the last run showed, one per line.
messages() { grep '"message"' "$work/ui.log" 2>/dev/null; }

echo "== setup -b builds the web distribution"
form http "Hostname='$http'"
run Authoring http -b
loc=$c/Build/quenby/8.2
check "exits 0, got $code" '[[ $code == 0 ]]'
check "filelist.lst, Install1.1 and grpEngine.1 are in the location's folder" \
  '[[ -s $loc/filelist.lst && -s $loc/Install1.1 && -s $loc/grpEngine.1 ]]'
cp -r "$c/Build/quenby" "$served/"

for how in http ftp ftp-alice; do
  echo "== installs over $how"
  case $how in
    http) form "$how" "Hostname='$http'" ;;
    ftp) form "$how" "Hostname='$ftp'" "Protocol=ipFTP" ;;
    ftp-alice) form "$how" "Hostname='$ftp'" "Protocol=ipFTP" "Anonymous=False" \
      "Username='alice'" "Password='secret'" ;;
  esac
  fresh
  run SETUP "$how" '-sC:\SETUP'
  check "exits 0, got $code" '[[ $code == 0 ]]'
  check "every engine file installed unchanged" 'diff -r "$engine" "$dest" >&2'
  check "the copy window named the archives it downloaded" \
    'grep -q "\"form\":\"CopyFileForm\".*grpEngine\.1" "$work/ui.log"'
done

# A served copy of the built location under another name, for the faults
# that need a file missing or shaped.
serve_copy() {
  rm -rf "${served:?}/quenby/$1"
  cp -r "$served/quenby/8.2" "$served/quenby/$1"
}
serve_copy missing
rm -f "$served/quenby/missing/grpEngine.1"
serve_copy drop
touch "$served/quenby/drop/grpEngine.1.drop"
serve_copy slow
touch "$served/quenby/slow/grpEngine.1.slow"
# A port nobody listens on: one the system just handed out and took back.
closed=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

# fault NAME CODE PATTERN LOGIN...: installs with the login given into a
# destination holding a file of the user's; the run ends with CODE, a
# message box matching PATTERN (grep -E) and the user's file as it was.
fault() {
  local name=$1 want=$2 pattern=$3
  shift 3
  echo "== $name"
  form "$name" "$@"
  fresh
  mkdir -p "$dest"
  echo "the user's own notes" >"$dest/notes.txt"
  run SETUP "$name" '-sC:\SETUP'
  check "exits $want, got $code" '[[ $code == "$want" ]]'
  check "the message says so" 'messages | grep -qE "$pattern"'
  check "the user's file is kept" '[[ $(cat "$dest/notes.txt" 2>/dev/null) == "the user'"'"'s own notes" ]]'
}
# The messages are the ones the simulated machine's library gives too, but
# for a dropped connection: Wine's library ends the read as if the file
# were complete (no error name; the short length gives it away) and reads
# the FTP server's "426" only when the file is closed.
h=$http f=$ftp closed=127.0.0.1:$closed nohost=pellmore-no-such-host.invalid
nothing='Response from server No server response'
fault "HTTP, connection refused" 1 \
  "Cannot send request for file filelist\.lst to the server\. Error message ERROR_INTERNET_CANNOT_CONNECT\. Server $closed\. $nothing" \
  "Hostname='$closed'"
fault "FTP, connection refused" 1 \
  "Cannot connect to host $closed\. Error message ERROR_INTERNET_CANNOT_CONNECT\. Server $closed\. $nothing" \
  "Hostname='$closed'" "Protocol=ipFTP"
fault "HTTP, host not found" 1 \
  "Cannot send request for file filelist\.lst to the server\. Error message ERROR_INTERNET_NAME_NOT_RESOLVED\. Server $nohost\. $nothing" \
  "Hostname='$nohost'"
fault "FTP, host not found" 1 \
  "Cannot connect to host $nohost\. Error message ERROR_INTERNET_NAME_NOT_RESOLVED\. Server $nohost\. $nothing" \
  "Hostname='$nohost'" "Protocol=ipFTP"
fault "FTP, wrong password" 1 \
  "Cannot connect to host $f\. Error message ERROR_INTERNET_LOGIN_FAILURE\. Server $f\. Response from server 530 " \
  "Hostname='$f'" "Protocol=ipFTP" "Anonymous=False" "Username='alice'" "Password='wrong'"
fault "HTTP, missing archive (404)" 1 \
  "Could not find the file grpEngine\.1 on the server\. Error message [^.]*\. Server $h\. Response from server HTTP 404" \
  "Hostname='$h'" "Directory='quenby/missing'"
fault "FTP, missing archive (550)" 1 \
  "Cannot open file grpEngine\.1 on server\. Error message ERROR_INTERNET_EXTENDED_ERROR\. Server $f\. Response from server 550 " \
  "Hostname='$f'" "Protocol=ipFTP" "Directory='quenby/missing'"
fault "HTTP, dropped mid-archive" 1 \
  "Could not read from file grpEngine\.1 on the server\. Error message [^.]*\. Server $h\. $nothing" \
  "Hostname='$h'" "Directory='quenby/drop'"
fault "FTP, dropped mid-archive" 1 \
  "Could not read from file grpEngine\.1 on the server\. Error message [^.]*\. Server $f\. Response from server 426 " \
  "Hostname='$f'" "Protocol=ipFTP" "Directory='quenby/drop'"

# The user cancels from the copy window while grpEngine.1 comes slowly.
printf 'await lblCopyingFile grpEngine.1\npress Cancel\nanswer Yes\n' >"$work/cancel.ui"
PELLMORE_UI_SCRIPT=$(winpath "$work/cancel.ui") fault "HTTP, cancelled during a slow archive" 2 \
  'Do you want to cancel the setup\?' "Hostname='$http'" "Directory='quenby/slow'"
check "every step of the script was used" '! grep -q "\"event\":\"unused\"" "$work/ui.log"'
check "the copy window showed grpEngine.1 coming" \
  'grep -q "\"name\":\"lblCopyingFile\",\"text\":\"grpEngine\.1\"" "$work/ui.log"'
check "grpEngine.1's files were not installed" '[[ ! -e $dest/lcus.qlt && ! -e $dest/QDMGR.HLP ]]'
check "the cancelled run removed its downloads and its bookkeeping key ($(downloads) left)" \
  '[[ $(downloads) == 0 ]] && ! wine reg query "HKLM\\Software\\Pellmore" >/dev/null 2>&1'

echo "== a failed run's downloads are used and removed by the next good run"
fault "HTTP, dropped mid-archive, again" 1 'Could not read from file grpEngine\.1 on the server' \
  "Hostname='$http'" "Directory='quenby/drop'"
kept=$(downloads)
check "the failed run kept what it downloaded ($kept files)" '[[ $kept -gt 0 ]]'
fresh
run SETUP http '-sC:\SETUP'
check "exits 0, got $code" '[[ $code == 0 ]]'
check "every engine file installed unchanged" 'diff -r "$engine" "$dest" >&2'
check "the archives the failed run had downloaded were not fetched again" \
  '! grep -q "\"name\":\"lblCopyingFile\",\"text\":\"ifQDENG32_DLL\.1\"" "$work/ui.log" &&
   grep -q "\"name\":\"lblCopyingFile\",\"text\":\"grpEngine\.1\"" "$work/ui.log"'
check "no download is left ($(downloads) files) and no bookkeeping key" \
  '[[ $(downloads) == 0 ]] && ! wine reg query "HKLM\\Software\\Pellmore" >/dev/null 2>&1'

if [[ -n ${SHOTS:-} ]]; then
  echo "== the copy window on screen while an archive downloads (screenshot in $SHOTS)"
  mkdir -p "$SHOTS"
  real_windows
  form shot "Hostname='$http'" "Directory='quenby/slow'"
  fresh
  rm -f "$work/ui.log" # the last run's lines must not count as this one's
  PELLMORE_UI=win32 PELLMORE_UI_SCRIPT=$(winpath "$src/tests/framework/data/no-answers.uiscript") \
    run SETUP shot '-sC:\SETUP' &
  pid=$!
  # The window shows grpEngine.1 coming for a few seconds (the server sends
  # it slowly): the picture is taken once the transcript says so and the
  # file bar has moved.
  shot=""
  for _ in $(seq 600); do
    if grep -q '"name":"lblCopyingFile","text":"grpEngine\.1".*"name":"ProgressBar1","position":[1-9][0-9]' \
      "$work/ui.log" 2>/dev/null; then
      sleep 0.3
      import -window root "$SHOTS/copy-download.png" && shot=yes
      break
    fi
    sleep 0.05
  done
  wait $pid
  code=$?
  check "the windowed run exits 0, got $code" '[[ $code == 0 ]]'
  check "the copy window was captured while grpEngine.1 came" '[[ -n $shot ]]'
fi

exit $fail
