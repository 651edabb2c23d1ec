# The full-screen show under Wine (sourced by e2e.sh).

# pixel_at PNG X Y: prints "R G B" of one pixel.
pixel_at() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' | awk '{printf "%d %d %d\n", $1, $2, $3}'
}
# near "R G B" R G B: true when each channel is within 40.
near() {
  set -- $1 $2 $3 $4
  [ $(( ($1-$4)*($1-$4) < 1600 && ($2-$5)*($2-$5) < 1600 && ($3-$6)*($3-$6) < 1600 )) = 1 ]
}
screen_centre() { shot "$1"; pixel_at "$state/$1.png" 512 384; }

three_picture_source() {
  new_source
  convert -size 640x480 xc:'rgb(200,30,30)' "$src/pictures/1.jpg"
  convert -size 640x480 xc:'rgb(30,200,30)' "$src/pictures/2.jpg"
  convert -size 640x480 xc:'rgb(30,30,200)' "$src/pictures/3.jpg"
  printf '[General]\r\nProductName=Show\r\n[Default]\r\nDuration=2\r\nTransitionTime=1000\r\nShowImageMode=1\r\nMusic=0\r\nDirectX=%s\r\n' \
    "$1" > "$src/project.ini"
}

# Runs a three-picture show: the first picture fills the screen, the next follows in
# time, and a mouse movement ends the show within 2 seconds.
run_three_picture_show() {
  local name=$1 limit=$2
  # With no window manager on the virtual display, Wine waits 2 s for every full-screen
  # window it hides or destroys; unmanaged windows close at once, as they do on Windows.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  trap '"$WINE" reg delete "HKCU\\Software\\Wine\\X11 Driver" /v Managed /f >/dev/null 2>&1' EXIT
  local saver; saver=$(make_saver "$name")
  local before; before=$(work_folders "$name")
  "$WINE" "$saver" /s & local pid=$!
  local c=""
  for _ in $(seq 40); do
    sleep 0.5
    c=$(screen_centre first)
    near "$c" 200 30 30 && break
  done
  near "$c" 200 30 30 || { kill $pid; fail "first picture not on screen (centre $c)"; }
  # The stretched picture covers the whole screen, corners included.
  near "$(pixel_at "$state/first.png" 3 3)" 200 30 30 || { kill $pid; fail "first picture does not fill the screen"; }
  # The change is timed from the end of the screenshot that still showed the first
  # picture to the start of the one that shows the second (screenshots are slow).
  local seen; seen=$(date +%s%N)
  local took=-1
  for _ in $(seq 60); do
    local t; t=$(date +%s%N)
    c=$(screen_centre second)
    if near "$c" 30 200 30; then took=$(( (t - seen) / 1000000 )); break; fi
    near "$c" 200 30 30 && seen=$(date +%s%N)
    sleep 0.1
  done
  [ $took -ge 0 ] || { kill $pid; fail "the picture did not change (centre $c)"; }
  # Duration 2 s from the first picture, then a transition of 1 s.
  [ $took -le 4000 ] || { kill $pid; fail "the change took $took ms"; }
  note "picture changed $took ms after it was last seen"
  # Move the mouse the way a hand does, back and forth, until the show ends. The first
  # five moves are ignored and the sixth only records the position: the time counts from
  # the seventh.
  t0=$(date +%s%N)
  local ended=-1
  for i in $(seq 60); do
    [ $i = 7 ] && t0=$(date +%s%N)
    xdotool mousemove $((300 + (i % 2) * 40)) $((300 + (i % 2) * 30))
    sleep 0.1
    if ! kill -0 $pid 2>/dev/null; then ended=$(( ($(date +%s%N) - t0) / 1000000 )); break; fi
  done
  [ $ended -ge 0 ] || { kill $pid; fail "the show did not end on mouse movement"; }
  note "ended $ended ms after the movement began"
  [ $ended -le $limit ] || fail "the show took $ended ms to end (limit $limit ms)"
  wait $pid; local rc=$?
  [ $rc = 0 ] || fail "/s ended with $rc"
  [ "$(work_folders "$name")" = "$before" ] || fail "working folder left after the show"
}

test_show_three_pictures() {
  three_picture_source 0
  run_three_picture_show "Three" 2000
}

test_show_three_pictures_directx() {
  three_picture_source 1
  # Under Wine, DirectDraw draws through software OpenGL: a step takes longer, and the
  # mouse moves that arrive meanwhile are merged into one message, so more movement is
  # needed before the first five are used up.
  run_three_picture_show "Three DX" 6000
}

test_show_nothing_selected() {
  three_picture_source 0
  local saver; saver=$(make_saver "Unchecked Long Name")
  local before; before=$(work_folders "Unchecked Long Name")
  printf '[Setting]\r\nImageMode=2\r\n[Files]\r\n0=\r\n1=\r\n2=\r\n' > "$(c_drive)/savers/Unchecked Long Name.ini"
  printf '@echo off\r\ndir /x "C:\\savers"\r\n' > "$(c_drive)/dirx.bat"
  local short; short=$(timeout 30 "$WINE" cmd /c 'C:\dirx.bat' | tr -d '\r' | awk '/Unchecked Long Name.scr/ {print $5}')
  [ -n "$short" ] || fail "no short name"
  # Started through its short path, the saver still reads the settings of its long name.
  for path in "C:\\savers\\$short" "$saver"; do
    "$WINE" "$path" /s & local pid=$!
    wait_for 30 window_named " " || { kill $pid; fail "no message for $path"; }
    shot unchecked
    click_box_button "$(window_named " ")"
    wait_for 10 bash -c '! xdotool search --onlyvisible --name "^ \$"' || { kill $pid; fail "the message stayed"; }
    sleep 0.5
    kill -0 $pid 2>/dev/null || fail "the window did not stay after the message"
    # The window stays black until the user ends it.
    near "$(screen_centre unchecked-black)" 0 0 0 || { kill $pid; fail "the window is not black"; }
    xdotool mousemove 100 100 click 1
    wait_for 5 bash -c "! kill -0 $pid" || { kill $pid; fail "the black window did not close on input"; }
    wait $pid
  done
  [ "$(work_folders "Unchecked Long Name")" = "$before" ] || fail "working folder left"
}
