# The show over two monitors under Wine (sourced by e2e.sh).
#
# A display of its own: one 2304x768 screen split into two RandR monitors side by side, a
# 1024x768 one on the left and the primary 1280x720 one on the right, which Wine's X11
# driver reports as two monitors when it uses Xinerama instead of XRandR. Windows places the
# primary monitor at the origin, so the left monitor has negative coordinates there.
# The Wine prefix is a copy of the shared one, so its display settings stay its own.

mm_start() {
  mm=$state/monitors
  rm -rf "$mm"; mkdir -p "$mm"
  exec 4>"$mm/display"
  Xvfb -displayfd 4 -noreset -screen 0 2304x768x24 -nolisten tcp >"$mm/xvfb.log" 2>&1 &
  mm_xvfb=$!
  trap mm_stop EXIT
  wait_for 20 test -s "$mm/display" || fail "Xvfb did not start"
  export DISPLAY=:$(cat "$mm/display")
  python3 "$(dirname "$0")/setmonitors.py" 1280x720+1024+0 1024x768+0+0 || fail "no monitors"
  xdpyinfo -ext XINERAMA | grep -q 'head #1: 1024x768 @ 0,0' || fail "monitors not side by side: $(xdpyinfo -ext XINERAMA | grep head)"
  timeout 60 "${WINE%64}server" -w 2>/dev/null || timeout 60 wineserver -w
  cp -a "$WINEPREFIX" "$mm/prefix" || fail "prefix copy"
  export WINEPREFIX=$mm/prefix
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  timeout 60 "${WINE%64}server" -k 2>/dev/null || timeout 60 wineserver -k
}

mm_stop() {
  timeout 20 "${WINE%64}server" -k 2>/dev/null || timeout 20 wineserver -k 2>/dev/null
  [ -n "${mm_xvfb:-}" ] && kill "$mm_xvfb" 2>/dev/null
  rm -rf "${mm:?}/prefix"
}

# mm_windows: the show's top-level windows as WIDTHxHEIGHT+X+Y, sorted.
mm_windows() {
  xwininfo -root -children 2>/dev/null | grep -E '^ +0x' | grep -oE ' [0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+' | head -c 100000 | sed 's/^ //' | sort
}

# mm_run MODE: runs the show with Monitors=MODE; checks its windows and what they show
# (the picture is 4:3, fitted proportionally), then ends it with one mouse movement.
mm_run() {
  local mode=$1 saver=$2 expect_windows=$3
  printf '[Setting]\r\nMonitors=%s\r\nDirectX=0\r\nImageSize=2\r\nImageMode=1\r\nMusic=0\r\n' "$mode" > "$(c_drive)/savers/Monitors.ini"
  "$WINE" "$saver" /s & local pid=$!
  local ok=""
  for _ in $(seq 40); do
    sleep 0.5
    import -window root "$state/monitors_$mode.png" 2>/dev/null
    # Red on the primary monitor: the show is up.
    near "$(pixel_at "$state/monitors_$mode.png" 1300 360)" 200 30 30 && { ok=1; break; }
  done
  [ -n "$ok" ] || { kill $pid; fail "Monitors=$mode: no picture on the primary monitor"; }
  sleep 0.5
  import -window root "$state/monitors_$mode.png" 2>/dev/null
  local windows; windows=$(mm_windows | grep -E "^($expect_windows)\$" | tr '\n' ' ')
  note "Monitors=$mode windows: $(mm_windows | tr '\n' ' ')"
  [ "$(echo "$windows" | wc -w)" = "$(echo "$expect_windows" | tr '|' '\n' | wc -l)" ] ||
    { kill $pid; fail "Monitors=$mode: windows $(mm_windows | tr '\n' ' '), expected $expect_windows"; }
  local png=$state/monitors_$mode.png
  # Points: the left monitor's centre and its left edge and top middle; the primary's
  # pillar-box bar (its 960x720 picture starts at x 1024+160).
  local lc lx lt pb
  lc=$(pixel_at "$png" 512 384); lx=$(pixel_at "$png" 40 384); lt=$(pixel_at "$png" 512 40); pb=$(pixel_at "$png" 1100 360)
  note "Monitors=$mode: left centre $lc, left edge $lx, left top $lt, primary bar $pb"
  case $mode in
    0) near "$lc" 0 0 0 && near "$pb" 0 0 0 || { kill $pid; fail "Monitors=0: the left monitor is not black"; } ;;
    1) near "$lc" 200 30 30 && near "$lx" 200 30 30 && near "$lt" 200 30 30 && near "$pb" 0 0 0 ||
         { kill $pid; fail "Monitors=1: the left monitor does not show its own fitted show"; } ;;
    2) near "$lc" 200 30 30 && near "$lx" 0 0 0 && near "$lt" 0 0 0 ||
         { kill $pid; fail "Monitors=2: the left monitor does not repeat the primary's frame"; } ;;
    3) # 2304x768 across both: the 1024x768 picture in the middle (x 640..1663).
       near "$(pixel_at "$png" 700 384)" 200 30 30 && near "$lx" 0 0 0 && near "$(pixel_at "$png" 2250 384)" 0 0 0 ||
         { kill $pid; fail "Monitors=3: the picture is not centred across both monitors"; } ;;
  esac
  # One movement over the left monitor ends every window.
  for i in $(seq 40); do
    xdotool mousemove $((300 + (i % 2) * 40)) $((300 + (i % 2) * 30))
    sleep 0.1
    kill -0 $pid 2>/dev/null || break
  done
  wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || { kill $pid; fail "Monitors=$mode: the show did not end on mouse movement"; }
  wait $pid
  [ -z "$(mm_windows | grep -E "^($expect_windows)\$")" ] || fail "Monitors=$mode: windows left: $(mm_windows | tr '\n' ' ')"
}

test_show_two_monitors() {
  new_source
  convert -size 640x480 'xc:rgb(200,30,30)' "$src/pictures/1.jpg"
  convert -size 640x480 'xc:rgb(30,200,30)' "$src/pictures/2.jpg"
  printf '[General]\r\nProductName=Monitors\r\n[Default]\r\nDuration=30\r\nShowImageMode=1\r\nMusic=0\r\n' > "$src/project.ini"
  mm_start
  local saver; saver=$(make_saver Monitors)
  mm_run 0 "$saver" "1280x720\+1024\+0|1024x768\+0\+0"
  mm_run 1 "$saver" "1280x720\+1024\+0|1024x768\+0\+0"
  mm_run 2 "$saver" "1280x720\+1024\+0|1024x768\+0\+0"
  mm_run 3 "$saver" "2304x768\+0\+0"
  [ -z "$(work_folders Monitors)" ] || fail "working folder left after the shows"
}
