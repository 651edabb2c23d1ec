# The preview in the Screen Saver dialog under Wine (sourced by e2e.sh).

# The preview is a child window of the dialog's window over its client area: it shows the
# preview picture, keeps it when the dialog repaints, then runs the show itself, and ends
# (removing its working folder) when the dialog's window goes away.
test_preview_child_window() {
  new_source
  convert -size 640x480 'xc:rgb(30,30,200)' "$src/pictures/blue.jpg"
  convert -size 200x150 'xc:rgb(220,30,30)' "$src/content/preview.jpg"
  printf '[Default]\r\nDuration=3\r\nTransitionTime=300\r\nMusic=0\r\n[Advance]\r\nPreviewFile=C:\\author\\preview.jpg\r\n' >> "$src/project.ini"
  local saver; saver=$(make_saver "Preview Child")
  rm -f "$(c_drive)/hwnd.txt" "$(c_drive)/report.txt"
  # Shown after 1 s, gone after 11 s; the host reports twice a second once shown.
  "$WINE" "$win64/preview_host.exe" 'C:\hwnd.txt' 1000 11000 'C:\report.txt' & local host=$!
  wait_for 30 test -s "$(c_drive)/hwnd.txt" || fail "preview host did not start"
  local hwnd; hwnd=$(tr -d '\r\n' < "$(c_drive)/hwnd.txt")
  "$WINE" "$saver" /p "$hwnd" & local pid=$!
  # The host window is at (20, 20), 152 x 112; its centre is (96, 76). Wine 8 does not put
  # on the screen what a child window of another process draws (its parent's own grey
  # stays): the screen is checked where it shows the drawing.
  local c="" seen="" i folder="" end=$(( $(date +%s) + 7 ))
  while [ "$(date +%s)" -lt $end ]; do
    sleep 0.3
    [ -n "$(work_folders "Preview Child")" ] && folder=1
    shot preview_screen
    c=$(pixel_at "$state/preview_screen.png" 96 76)
    near "$c" 128 128 128 && seen="$seen grey"
    near "$c" 220 30 30 && seen="$seen picture"
    near "$c" 30 30 200 && { seen="$seen show"; break; }
  done
  note "the host's window showed:$seen"
  [ -n "$folder" ] || fail "no working folder while the preview runs"
  case "$seen" in
    *picture*show*) ;;
    *picture*) fail "the show did not follow the preview picture:$seen" ;;
    *grey*) note "the screen does not show the drawing of a child of another process here" ;;
    *) fail "the host's window was not seen:$seen ($c)" ;;
  esac
  kill -0 $pid 2>/dev/null || fail "the preview ended while its window was there"
  wait $host
  wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || fail "the preview did not end with its window"
  wait $pid; local rc=$?
  [ $rc = 0 ] || fail "/p ended with $rc"
  [ -z "$(work_folders "Preview Child")" ] || fail "the preview left its working folder"
  # What the host saw of its child while it repainted itself.
  local report; report=$(tr -d '\r' < "$(c_drive)/report.txt")
  note "host reports: $(echo "$report" | head -n 3 | tr '\n' ';') ..."
  # Once the child is there it stays, at the client area's size, while the host repaints.
  echo "$report" | awk '$2 == 1 {seen++} seen && ($2 != 1 || $3 != 152 || $4 != 112) {bad = 1} END {exit bad || seen < 4}' ||
    fail "the child window did not stay over the client area: $report"
  if echo "$report" | awk '$5 == 1 {f=1} END {exit !f}'; then
    # The host could print the child: the picture first, then the show.
    echo "$report" | awk '$5 == 1 && $6 > 180 && $7 < 80 && $8 < 80 {picture = 1}
                          picture && $5 == 1 && $6 < 80 && $7 < 80 && $8 > 160 {show = 1} END {exit !show}' ||
      fail "the printed child does not hold the preview picture and then the show: $report"
  else
    note "the host cannot print a child of another process here"
  fi
}
