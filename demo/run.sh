#!/bin/bash
# Builds the demo saver with kxtool and runs it under Wine. On a display it runs the show
# until you end it with the mouse or a key, then the configuration window. Without a
# display it runs both on a virtual display, saves screenshots under out/ and ends by itself.
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/out
mkdir -p "$out"
src=$build/demo-src
rm -rf "$src"
cp -r "$root/demo/source" "$src"
"$root/demo/make-pictures.sh" "$src" "$build/demo-assets" "$build/native/kxtool"
python3 "$root/demo/make-gui.py" "$src/gui.kui" "$build/demo-assets"
saver=$out/kxdemo.scr
"$build/native/kxtool" pack --source "$src" --out "$saver"
echo "contact sheet of the show (kxtool render): $out/show-sheet.png"
rm -rf "$build/demo-frames"
"$build/native/kxtool" render "$saver" --size 1280x720 --seconds 24 --fps 2 --out "$build/demo-frames" \
  --sheet "$out/show-sheet.png"

WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX=$build/demo-prefix
# Windows' dialog font, as Windows has it: Wine's own Tahoma, when it is installed.
add_fonts() { cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true; }

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  [ -d "$WINEPREFIX" ] || "$WINE" wineboot -i >/dev/null 2>&1
  add_fonts
  echo "running the show (move the mouse or press a key to end it)"
  "$WINE" "$saver" /s || true
  echo "running the configuration window"
  "$WINE" "$saver" /c || true
  echo "the demo saver is $saver"
  exit 0
fi

xvfb_pid=
finish() {
  timeout 20 wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap finish EXIT
exec 3>"$build/demo-display"
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$build/demo-display" ] && break; sleep 0.2; done
export DISPLAY=:$(cat "$build/demo-display")
[ -d "$WINEPREFIX" ] || timeout 180 "$WINE" wineboot -i >/dev/null 2>&1
timeout 60 wineserver -w || true
add_fonts

# Unattended, the show starts from the project's own settings, not from what an earlier
# run left in the user settings file beside the saver.
rm -f "$out/kxdemo.ini"
echo "show: screenshots every 3 seconds into $out"
"$WINE" "$saver" /s 2>/dev/null & pid=$!
for n in 1 2 3 4; do
  sleep 3
  kill -0 $pid 2>/dev/null || break
  import -window root "$out/show-$n.png" 2>/dev/null || true
done
# The show ignores the first few mouse moves after it starts: move until it ends.
for i in $(seq 80); do
  kill -0 $pid 2>/dev/null || break
  xdotool mousemove $((300 + (i % 2) * 40)) $((300 + (i % 2) * 30)) 2>/dev/null || true
  sleep 0.1
done
kill -0 $pid 2>/dev/null && echo "the show did not end on mouse movement: stopped" >&2
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true

echo "configuration window: screenshots into $out"
"$WINE" "$saver" /c 2>/dev/null & pid=$!
for _ in $(seq 60); do
  w=$(xdotool search --onlyvisible --name '^kxsaver Demo Settings$' 2>/dev/null | head -n 1 || true)
  [ -n "$w" ] && break
  sleep 0.5
done
sleep 2
import -window root "$out/config.png" 2>/dev/null || true
if [ -n "${w:-}" ]; then
  # "Choose pictures..." (client 464,184 .. 656,220) opens the thumbnail window.
  eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/\1=/p')"
  border=$(( (WIDTH - 680) / 2 ))
  # "Settings..." (client 464,138 .. 656,174) opens the settings dialog; Escape closes it.
  xdotool mousemove $((X + border + 560)) $((Y + HEIGHT - 440 - border + 156)) click 1
  for _ in $(seq 20); do
    xdotool search --onlyvisible --name '^Settings$' >/dev/null 2>&1 && break
    sleep 0.5
  done
  sleep 1
  import -window root "$out/config-settings.png" 2>/dev/null || true
  xdotool key Escape
  sleep 1
  xdotool mousemove $((X + border + 560)) $((Y + HEIGHT - 440 - border + 202)) click 1
  sleep 4
  import -window root "$out/config-thumbnails.png" 2>/dev/null || true
  # "Done" (client 454,364 .. 584,400) closes the picture chooser, "Close" (464,322 ..
  # 656,358) the configuration window, which then removes its working folder.
  t=$(xdotool search --onlyvisible --name '^Choose pictures$' 2>/dev/null | head -n 1 || true)
  if [ -n "$t" ]; then
    eval "$(xdotool getwindowgeometry --shell "$t" 2>/dev/null | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/T\1=/p')"
    tb=$(( (TWIDTH - 600) / 2 ))
    xdotool mousemove $((TX + tb + 519)) $((TY + THEIGHT - 420 - tb + 382)) click 1
    sleep 2
  fi
  xdotool mousemove $((X + border + 560)) $((Y + HEIGHT - 440 - border + 340)) click 1
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
fi
kill -0 $pid 2>/dev/null && echo "the configuration window did not close: stopped" >&2
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
echo "the demo saver is $saver (copy it to Windows and right-click it to install)"
