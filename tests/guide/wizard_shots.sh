# Sourced by run_guide.sh --wine with SHOTS=DIR: installs the sample once
# more in real windows, in a prefix of its own, and captures each page of
# its wizard (welcome, licence, folder, completion) as DIR/my-product-*.png,
# pressing Return (the page's default button) after each capture.
source "$src/tests/support/wine_scenario.sh"
mkdir -p "$SHOTS"
eval "$("$src/scripts/wine-prefix" "$work/prefix-shots")"
real_windows
mkdir -p "$WINEPREFIX/drive_c/SETUP"
cp "$winbuild/src/app/setup.exe" "$WINEPREFIX/drive_c/SETUP/setup.exe"
cp "$r/authoring/drive_c/Larkspur/Dist/files.1" "$WINEPREFIX/drive_c/SETUP/files.1"
PELLMORE_UI=win32 PELLMORE_FORM=$(winepath -w "$r/larkspur/larkspur-notes.dfm") \
  wine 'C:\SETUP\setup.exe' '-sC:\SETUP' >"$work/shots.log" 2>&1 </dev/null &
shots_pid=$!
sleep 8
for page in welcome licence folder complete; do
  # The page alone: on the 1024x768 test display it sits in the middle.
  import -window root -crop 480x398+272+184 +repage "$SHOTS/my-product-$page.png"
  press_return
  # The copy window comes between the folder page and the completion page.
  [[ $page == folder ]] && sleep 8 || sleep 4
done
wait $shots_pid
shots_code=$?
check "Wine: the windowed install (pages answered by Return) exits 0, got $shots_code" '[[ $shots_code == 0 ]]'
