#!/bin/bash
# End-to-end tests of the saver under Wine on a virtual X display.
#   e2e.sh setup   STATE KXTOOL WIN64_BUILD   start Xvfb and make a fresh Wine prefix
#   e2e.sh cleanup STATE                       end Wine and Xvfb, remove the state
#   e2e.sh TEST    STATE KXTOOL WIN64_BUILD   run one test (the functions test_* below)
# Every wait is bounded; a failing check prints what it saw and exits 1.
set -u
cmd=$1
state=$2
kxtool=${3:-}
win64=${4:-}
WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$state/prefix"
[ -f "$state/env" ] && . "$state/env"

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }

c_drive() { echo "$WINEPREFIX/drive_c"; }
temp_dir() {
  local t
  for t in "$WINEPREFIX"/drive_c/users/*/Temp "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp; do
    [ -d "$t" ] && { echo "$t"; return; }
  done
  echo "$WINEPREFIX/drive_c/users/$(whoami)/Temp"
}

# wait_for SECONDS COMMAND...: polls every 0.2 s until the command succeeds.
wait_for() {
  local limit=$1; shift
  local end=$(( $(date +%s) + limit ))
  while [ "$(date +%s)" -lt "$end" ]; do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}

# make_saver NAME: packs the source folder $src into C:\savers\NAME.scr and prints its Unix path.
make_saver() {
  local out; out="$(c_drive)/savers/$1.scr"
  mkdir -p "$(dirname "$out")"
  # PACK_OPTIONS: more options for kxtool pack (--allow-empty for a saver without pictures).
  "$kxtool" pack --engine "$win64/kxsaver.scr" --source "$src" --out "$out" ${PACK_OPTIONS:-} >/dev/null ||
    fail "pack $1"
  echo "$out"
}

# A new source folder with JPEG pictures made by ImageMagick.
new_source() {
  src=$(mktemp -d "$state/src.XXXXXX")
  mkdir -p "$src/pictures" "$src/content"
  printf '[General]\r\nProductName=Test\r\n[Default]\r\nDuration=2\r\nTransitionTime=500\r\n' > "$src/project.ini"
}
add_picture() {  # add_picture NAME COLOUR
  convert -size 320x240 "xc:$2" -fill white -draw "circle 160,120 160,60" "$src/pictures/$1" || fail "convert"
}

window_named() {
  local w; w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
  [ -n "$w" ] && echo "$w"
}

# Presses the only button of a message box by clicking its middle bottom.
click_box_button() {
  local w=$1 x y wd ht
  eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/\1=/p')"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 22)) click 1
}

shot() { import -window root "$state/$1.png" 2>/dev/null; }

# work_folders BASE: the working folders of a saver in the temporary folder.
work_folders() { ls -d "$(temp_dir)/$1"[0-9]* 2>/dev/null; }

setup() {
  rm -rf "$state"; mkdir -p "$state"
  exec 3>"$state/display"
  # KX_E2E_SCREEN gives another display size (measurements at 1920x1080x24).
  Xvfb -displayfd 3 -screen 0 "${KX_E2E_SCREEN:-1024x768x24}" -nolisten tcp >"$state/xvfb.log" 2>&1 &
  echo "XVFB_PID=$!" > "$state/env"
  wait_for 20 test -s "$state/display" || fail "Xvfb did not start"
  echo "export DISPLAY=:$(cat "$state/display")" >> "$state/env"
  . "$state/env"
  timeout 180 "$WINE" wineboot -i >"$state/wineboot.log" 2>&1 || fail "wineboot"
  timeout 60 "${WINE%64}server" -w 2>/dev/null || timeout 60 wineserver -w
  mkdir -p "$(temp_dir)"
  # Windows' dialog font, as Windows has it: Wine's own Tahoma, when it is installed.
  cp /usr/share/wine/fonts/tahoma*.ttf "$(c_drive)/windows/Fonts/" 2>/dev/null || true
  note "Wine prefix ready on display $DISPLAY"
}

cleanup() {
  wineserver -k 2>/dev/null || "${WINE%64}server" -k 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$state"
  true
}

# ---------------------------------------------------------------------------------------

test_password_mode() {
  new_source; add_picture a.jpg navy
  local saver; saver=$(make_saver Password)
  local before; before=$(ls "$(temp_dir)" | wc -l)
  timeout 30 "$WINE" "$saver" /a 1234; local rc=$?
  [ $rc = 0 ] || fail "/a 1234 ended with $rc"
  [ -z "$(work_folders Password)" ] || fail "/a wrote a working folder"
  [ "$(ls "$(temp_dir)" | wc -l)" = "$before" ] || fail "/a changed the temporary folder"
  timeout 30 "$WINE" "$saver" /a; [ $? = 0 ] || fail "/a without window"
}

test_unknown_switch() {
  new_source; add_picture a.jpg navy
  local saver; saver=$(make_saver Unknown)
  for arg in /x S1 -Q; do
    timeout 30 "$WINE" "$saver" "$arg"; local rc=$?
    [ $rc = 0 ] || fail "$arg ended with $rc"
  done
  [ -z "$(work_folders Unknown)" ] || fail "an unknown switch wrote a working folder"
}

test_show_empty_package() {
  new_source
  local saver; saver=$(PACK_OPTIONS=--allow-empty make_saver "Empty Show")
  timeout 60 "$WINE" "$saver" /s & local pid=$!
  wait_for 30 window_named " " || fail "no message box"
  local w; w=$(window_named " ")
  [ -n "$(work_folders "Empty Show")" ] || fail "no working folder while the box is open"
  shot show_empty
  click_box_button "$w"
  wait $pid; local rc=$?
  [ $rc = 0 ] || fail "/s ended with $rc"
  [ -z "$(work_folders "Empty Show")" ] || fail "working folder left after /s"
}

test_config_mode_cleans_up() {
  new_source; add_picture a.jpg navy; add_picture b.jpg maroon
  local saver; saver=$(make_saver Configure)
  for arg in /c /C:1234 ""; do
    if [ -n "$arg" ]; then timeout 60 "$WINE" "$saver" "$arg"; else timeout 60 "$WINE" "$saver"; fi
    local rc=$?
    [ $rc = 0 ] || fail "'$arg' ended with $rc"
    [ -z "$(work_folders Configure)" ] || fail "working folder left after '$arg'"
  done
}

test_preview_mode() {
  new_source; add_picture a.jpg navy
  convert -size 200x150 gradient:red-blue "$src/content/preview.jpg"
  printf '[Advance]\r\nPreviewFile=C:\\author\\preview.jpg\r\n' >> "$src/project.ini"
  local saver; saver=$(make_saver Preview)
  rm -f "$(c_drive)/hwnd.txt"
  # The host shows its window 4 s after start and lives 8 s; the preview lives as long.
  "$WINE" "$win64/preview_host.exe" 'C:\hwnd.txt' 4000 8000 & local host=$!
  wait_for 30 test -s "$(c_drive)/hwnd.txt" || fail "preview host did not start"
  local hwnd; hwnd=$(tr -d '\r\n' < "$(c_drive)/hwnd.txt")
  local t0; t0=$(date +%s%N)
  timeout 30 "$WINE" "$saver" /p "$hwnd" & local pid=$!
  # The preview waits for the window to show, then stays in it while it is there.
  wait_for 30 bash -c "xwininfo -root -tree | grep -q '\"preview host\"'" || fail "host window was not visible"
  local ms=$(( ($(date +%s%N) - t0) / 1000000 ))
  kill -0 $pid 2>/dev/null || fail "/p $hwnd ended while the window was there"
  wait $pid; local rc=$?
  [ $rc = 0 ] || fail "/p $hwnd ended with $rc"
  note "the host window showed ${ms} ms after /p started"
  kill $host 2>/dev/null; wait $host 2>/dev/null
  # A number that names no window, and no number at all, end at once.
  for args in "/p 99999999" "/P" "/p notanumber"; do
    t0=$(date +%s%N)
    timeout 30 "$WINE" "$saver" $args; rc=$?
    ms=$(( ($(date +%s%N) - t0) / 1000000 ))
    [ $rc = 0 ] || fail "$args ended with $rc"
    [ $ms -lt 15000 ] || fail "$args took $ms ms"
  done
  [ -z "$(work_folders Preview)" ] || fail "preview left its working folder"
}

test_short_path_same_names() {
  new_source
  local saver; saver=$(PACK_OPTIONS=--allow-empty make_saver "Sea Views Long")
  printf '@echo off\r\ndir /x "C:\\savers"\r\n' > "$(c_drive)/dirx.bat"
  local short; short=$(timeout 30 "$WINE" cmd /c 'C:\dirx.bat' | tr -d '\r' | awk '/Sea Views Long.scr/ {print $5}')
  [ -n "$short" ] || fail "no short name for the saver"
  note "short name $short"
  for path in "C:\\savers\\$short" "C:\\savers\\Sea Views Long.scr"; do
    timeout 60 "$WINE" "$path" /s & local pid=$!
    wait_for 30 window_named " " || fail "no message box for $path"
    local folders; folders=$(work_folders "Sea Views Long")
    [ -n "$folders" ] || fail "$path did not use the long base name: $(ls "$(temp_dir)")"
    click_box_button "$(window_named " ")"
    wait $pid
  done
}

# Tests of other parts of the saver live in *.tests.sh files beside this one and use the
# helpers above.
for f in "$(dirname "$0")"/*.tests.sh; do
  [ -f "$f" ] && . "$f"
done

case "$cmd" in
  setup) setup ;;
  cleanup) cleanup ;;
  *) "test_$cmd" ;;
esac
