# What the Wine scenario scripts share; sourced after they set $src (the
# source tree).
#   need_sim_tools TOOL...
#                         stops with FAIL unless each sim build tool
#                         ($sim/tools/TOOL) is there
#   scenario_begin NAME   a work directory $work (removed at exit, kept with
#                         KEEP=1) holding a Wine prefix of its own; fail=0
#   check TEXT EXPR       "ok   TEXT" when EXPR holds, else "FAIL TEXT" with
#                         the tail of what the last run left in $work
#                         (err.txt, out.txt, ui.log) and fail=1
#   real_windows          readies the prefix for real windows on a virtual
#                         display (no window manager there: Wine draws the
#                         frames and captions; the fonts it does not find
#                         by itself)
#   press_return          presses Return on the display (the focused
#                         button) through XTest
#   no_unpacked_copy      true once the loading program's unpacked copy
#                         has left the prefix's temporary folder (its
#                         clean-up batch runs after the installer ended,
#                         so this waits up to ten seconds)
#   authoring_prefix SETUP_EXE
#                         makes the prefix an authoring machine: the sample
#                         engine's files in C:\Authoring\Engine82 ($engine),
#                         the kit and its registry values (from the sim
#                         build's sample engine tool, $sim), SETUP_EXE as
#                         C:\Authoring\setup.exe with BUILD.INF naming
#                         C:\Build; sets $c (drive C:), $pf and $pf_win
#                         (the program files folder, host and Windows path)
#   engine_distribution SETUP_EXE QDSETUP_DLL
#                         the engine with the program's built-in form packed
#                         by the sim build's tools ($sim) and placed as
#                         C:\ENGINE (setup.exe, files.1, QDSETUP.DLL); sets
#                         $c, $pf, $pf_win, $eng_files (the files it installs,
#                         on the host), $qde/$qde_win (where they go), $cfg,
#                         $qkey and $quninstall (its registry keys)
#   older_engine          replaces whatever engine the prefix has with the
#                         older 7.5 one and its values, the user's settings
#                         in its configuration
#   reg_text KEY VALUE    a REG_SZ value's data, whatever blanks it holds

need_sim_tools() {
  local tool
  for tool in "$@"; do
    if [[ ! -x $sim/tools/$tool ]]; then
      echo "FAIL: $sim/tools/$tool is missing: build the sim preset first (scripts/test-all does)"
      exit 1
    fi
  done
}

scenario_begin() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/pellmore-wine-$1.XXXXXX")
  trap 'wineserver -k >/dev/null 2>&1; [[ -n ${KEEP:-} ]] || rm -rf "$work"' EXIT
  eval "$("$src/scripts/wine-prefix" "$work/prefix")"
  fail=0
}

check() {
  if eval "$2"; then echo "ok   $1"; else
    echo "FAIL $1"
    local what
    for what in err:err.txt out:out.txt ui:ui.log; do
      sed "s/^/     ${what%%:*}: /" "$work/${what#*:}" 2>/dev/null | tail -5
    done
    fail=1
  fi
}

real_windows() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 </dev/null
  local font
  for font in marlett.ttf ms_sans_serif.ttf; do
    [ -f "/usr/share/wine/fonts/$font" ] && cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  return 0
}

press_return() {
  python3 - <<'PY'
import ctypes
x = ctypes.CDLL("libX11.so.6")
t = ctypes.CDLL("libXtst.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
d = ctypes.c_void_p(x.XOpenDisplay(None))
code = x.XKeysymToKeycode(d, 0xFF0D)
t.XTestFakeKeyEvent(d, code, 1, 0)
t.XTestFakeKeyEvent(d, code, 0, 0)
x.XFlush(d)
PY
}

no_unpacked_copy() {
  local temp
  temp=$(winepath -u "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')")
  for _ in $(seq 50); do
    compgen -G "$temp/pld*" >/dev/null || return 0
    sleep 0.2
  done
  return 1
}

authoring_prefix() {
  c=$WINEPREFIX/drive_c
  pf=$("$src/scripts/wine-program-files" "$1")
  pf_win="C:\\$(basename "$pf")"
  engine=$c/Authoring/Engine82
  "$sim/tools/sample-engine/pellmore-sample-engine" "$engine" >/dev/null
  "$sim/tools/sample-engine/pellmore-sample-engine" --wine-prefix "$WINEPREFIX" --authoring \
    --program-files "$pf_win" >/dev/null
  wine regedit /S "$(winepath -w "$WINEPREFIX/sample-engine-authoring.reg")" >/dev/null 2>&1
  cp "$1" "$c/Authoring/setup.exe"
  printf 'C:\\Build\r\n' >"$c/Authoring/BUILD.INF"
}

engine_distribution() {
  c=$WINEPREFIX/drive_c
  local auth=$work/engine-authoring
  "$sim/tools/machine/pellmore-machine" create "$auth" >/dev/null
  "$sim/tools/sample-engine/pellmore-sample-engine" --machine "$auth" --authoring >/dev/null
  "$sim/tools/pack/pellmore-pack" --quiet "$auth" "$src/src/app/Main.dfm" 'C:\Build'
  eng_files="$auth/drive_c/Program Files/Quenby/Common Files/QDE"
  pf=$("$src/scripts/wine-program-files" "$1")
  pf_win="C:\\$(basename "$pf")"
  qde="$pf/Quenby/Common Files/QDE"
  qde_win="$pf_win\\Quenby\\Common Files\\QDE"
  cfg="$qde/qdeng32.cfg"
  qkey='HKLM\Software\Quenby\Database Engine'
  quninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenby Database Engine\QDE'
  rm -rf "$c/ENGINE"
  mkdir -p "$c/ENGINE"
  cp -p "$1" "$c/ENGINE/setup.exe"
  cp "$auth/drive_c/Build/files.1" "$c/ENGINE/files.1"
  cp "$2" "$c/ENGINE/QDSETUP.DLL"
}

older_engine() {
  wine reg delete 'HKLM\Software\Quenby' /f >/dev/null 2>&1
  wine reg delete "$quninstall" /f >/dev/null 2>&1
  rm -rf "$qde"
  "$sim/tools/sample-engine/pellmore-sample-engine" --wine-prefix "$WINEPREFIX" --installed 7.5 \
    --program-files "$pf_win" >/dev/null
  wine regedit /S "$(winepath -w "$WINEPREFIX/sample-engine-75.reg")" >/dev/null 2>&1
}

reg_text() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$(printf '%s' "$2" | sed 's/[][\\.*^$/]/\\&/g') *REG_SZ *//p"
}
