# Sourced by run_guide.sh --wine with SHOTS=DIR: installs the sample once
# more in real windows, in a prefix of its own, and captures each page of
# its wizard (welcome, licence, folder, completion) as DIR/my-product-*.png,
# pressing Return (the page's default button) after each capture.
mkdir -p "$SHOTS"
eval "$("$src/scripts/wine-prefix" "$work/prefix-shots")"
# No window manager on the virtual display: Wine draws frames and captions.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 </dev/null
for font in marlett.ttf ms_sans_serif.ttf; do
  [ -f "/usr/share/wine/fonts/$font" ] && cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
done
mkdir -p "$WINEPREFIX/drive_c/SETUP"
cp "$winbuild/src/app/setup.exe" "$WINEPREFIX/drive_c/SETUP/setup.exe"
cp "$r/authoring/drive_c/Larkspur/Dist/files.1" "$WINEPREFIX/drive_c/SETUP/files.1"
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
PELLMORE_UI=win32 PELLMORE_FORM=$(winepath -w "$r/larkspur/larkspur-notes.dfm") \
  wine 'C:\SETUP\setup.exe' '-sC:\SETUP' >"$work/shots.log" 2>&1 </dev/null &
shots_pid=$!
sleep 8
for page in welcome licence folder complete; do
  import -window root "$SHOTS/my-product-$page.png"
  press_return
  # The copy window comes between the folder page and the completion page.
  [[ $page == folder ]] && sleep 8 || sleep 4
done
wait $shots_pid
shots_code=$?
check "Wine: the windowed install (pages answered by Return) exits 0, got $shots_code" '[[ $shots_code == 0 ]]'
