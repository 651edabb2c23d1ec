# The saver reads its pictures from its own file under Wine (sourced by e2e.sh): while the
# show runs, the working folder holds no copy of them, and it is gone after the show.

test_show_reads_pictures_in_place() {
  new_source
  convert -size 640x480 xc:'rgb(200,30,30)' "$src/pictures/1.jpg" || fail "convert"
  convert -size 640x480 xc:'rgb(30,200,30)' "$src/pictures/2.jpg" || fail "convert"
  make_wave "$src/content/tune.wav" 3
  printf '[General]\r\nProductName=In Place\r\n[Default]\r\nDuration=30\r\nTransitionTime=500\r\nShowImageMode=1\r\nMusic=1\r\nMusicVolume=100\r\n[Advance]\r\nMusicFile=tune.wav\r\nMusicMode=1\r\n' \
    > "$src/project.ini"
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  trap '"$WINE" reg delete "HKCU\\Software\\Wine\\X11 Driver" /v Managed /f >/dev/null 2>&1' EXIT
  local saver; saver=$(make_saver "In Place")
  local before; before=$(work_folders "In Place")
  "$WINE" "$saver" /s & local pid=$!
  local c=""
  for _ in $(seq 40); do
    sleep 0.5
    c=$(screen_centre in_place)
    near "$c" 200 30 30 && break
  done
  near "$c" 200 30 30 || { kill $pid; fail "first picture not on screen (centre $c)"; }
  local folder; folder=$(work_folders "In Place")
  [ -n "$folder" ] && [ "$folder" != "$before" ] || { kill $pid; fail "no working folder while the show runs"; }
  # The music is the only file the show needs on disk (the media player opens it by name).
  local files; files=$(ls -A "$folder")
  note "working folder while the show runs: [$(echo $files)]"
  local f
  for f in $files; do
    [ "$f" = tune.wav ] || { kill $pid; fail "the working folder holds $f"; }
  done
  if [ -n "$files" ]; then
    cmp -s "$folder/tune.wav" "$src/content/tune.wav" || { kill $pid; fail "the music written differs from the packed one"; }
  fi
  local ended=0
  for i in $(seq 80); do
    xdotool mousemove $((300 + (i % 2) * 40)) $((300 + (i % 2) * 30))
    sleep 0.1
    if ! kill -0 $pid 2>/dev/null; then ended=1; break; fi
  done
  [ $ended = 1 ] || { kill $pid; fail "the show did not end on mouse movement"; }
  wait $pid; local rc=$?
  [ $rc = 0 ] || fail "/s ended with $rc"
  [ "$(work_folders "In Place")" = "$before" ] || fail "working folder left after the show"
}
