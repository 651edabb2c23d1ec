#!/bin/bash
# How long a large saver takes to start under Wine, against a small one:
#   bench/start_wine.sh BUILD [RUNS]     (BUILD holds native/kxtool and win64/kxsaver.scr)
#   KX_ENGINE_DIR=DIR bench/start_wine.sh BUILD   packs DIR/kxsaver.scr instead (another build
#                                                 of the engine, to compare with)
# Two savers are packed from the same photograph-sized JPEG (6.2 MB): one of 100 pictures
# (about 620 MB) and one of 2. For each, RUNS times (3 by default):
#   show    the time from starting "/s" until the first picture is on the screen, and the
#           files in the working folder at that moment;
#   config  the time from starting "/c" until the configuration window is visible, and a
#           screenshot of its thumbnail grid 3 seconds later.
# Everything (pictures, savers, Wine prefix, virtual display) lives in one temporary
# folder that is removed at the end. The screen is polled every 0.1 s, so times are good
# to about 0.2 s.
# Wine's own start (its server, the prefix's registry and fonts) is paid once before the first
# measurement, by a program that does nothing, and the order of the two savers alternates
# from run to run, so that neither saver pays for starting Wine or for coming first.
# Each line gives the time, the files in the working folder at the first picture and, after a
# cold start, how many megabytes of the saver's file the start read.
#   KX_COLD=1 bench/start_wine.sh BUILD   as root: the page cache is dropped before every
#                                         start, so each saver's file is read from the disk,
#                                         as on a computer that has not run it since it started
set -u
[ -n "${KX_TRACE:-}" ] && set -x
build=$(cd "${1:?usage: start_wine.sh BUILD [RUNS]}" && pwd)
runs=${2:-3}
root=$(cd "$(dirname "$0")/.." && pwd)
state=$(mktemp -d /tmp/kxstart-wine.XXXXXX)
trap '"$root/tests/e2e/e2e.sh" cleanup "$state" >/dev/null 2>&1; rm -rf "$state"' EXIT

# The helpers of the Wine tests (make_saver, window_named, work_folders, pixel_at, ...);
# "setup" starts the virtual display and makes the Wine prefix.
engine_dir=${KX_ENGINE_DIR:-$build/win64}
. "$root/tests/e2e/e2e.sh" setup "$state" "$build/native/kxtool" "$engine_dir" || exit 1
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

photo="$state/photo.jpg"
convert -size 4000x3000 xc:'rgb(200,40,40)' -attenuate 0.3 +noise Gaussian -quality 90 "$photo" || fail "convert"
size=$(stat -c %s "$photo")
[ "$size" -lt 6200000 ] && head -c $((6200000 - size)) /dev/urandom >> "$photo"
note "picture of $(stat -c %s "$photo") bytes"

# A configuration window of 400 x 300: a thumbnail grid and a label that closes it.
gui() {
  python3 - "$1" <<'PY'
import sys
form = ['object MainWindow: TfmKXCOnfigWindow', "  Caption = 'Configure <ScreensaverName>'",
        '  ClientWidth = 400', '  ClientHeight = 300', '  Color = clNavy', '  PixelsPerInch = 96',
        '  object Thumbs: TKXThumbnail2', '    Tag = 1', '    Left = 0', '    Top = 0', '    Width = 400',
        '    Height = 250', '    ShowCheckBox = True', '  end',
        '  object lblClose: TLabel', '    Tag = 1', '    Left = 0', '    Top = 260', '    Width = 100',
        '    Height = 30', '    AutoSize = False', "    Caption = 'Close'", '    Color = clRed', '  end', 'end']
acts = ['1', 'lblClose', '6', ' ', ' ', ' ']
text = ['1', str(len(form))] + form + [str(len(acts))] + acts + ['0']
open(sys.argv[1], 'wb').write(('\r\n'.join(text) + '\r\n').encode('latin-1'))
PY
}

# saver_of NAME COUNT: packs COUNT copies of the picture.
saver_of() {
  new_source
  local i
  for i in $(seq "$2"); do cp "$photo" "$src/pictures/$(printf 'p%03d' "$i").jpg"; done
  printf '[General]\r\nProductName=%s\r\n[Default]\r\nDuration=30\r\nShowImageMode=1\r\nMusic=0\r\n' "$1" > "$src/project.ini"
  gui "$src/gui.kui"
  make_saver "$1"
  rm -rf "$src"
}

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
centre_red() {
  local c; c=$(import -window root -crop 1x1+512+384 -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' | awk '{printf "%d %d\n", $1, $2}')
  set -- $c
  [ -n "${1:-}" ] && [ "$1" -gt 120 ] && [ "$2" -lt 110 ]
}

show_once() {  # show_once NAME SAVER: prints "ms files"
  local t0; t0=$(now_ms)
  "$WINE" "$2" /s & local pid=$!
  local t=-1
  for _ in $(seq 300); do
    if centre_red; then t=$(( $(now_ms) - t0 )); break; fi
    sleep 0.1
  done
  # After a cold start, the part of the saver's file in the page cache is what the start read
  # of it (with the kernel's read-ahead).
  local read=-
  [ -n "${KX_COLD:-}" ] && read=$(fincore -b -n -o RES "$2" 2>/dev/null | awk '{printf "%d", $1 / 1048576}')
  local folder files=0; folder=$(work_folders "$1" | head -n 1)
  [ -n "$folder" ] && files=$(ls -A "$folder" | wc -l)
  shot "show-$1"
  for i in $(seq 80); do
    xdotool mousemove $((300 + (i % 2) * 40)) $((300 + (i % 2) * 30))
    sleep 0.1
    kill -0 $pid 2>/dev/null || break
  done
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  [ -z "$(work_folders "$1")" ] || note "$1: working folder left after the show"
  echo "$t $files $read"
}

config_once() {  # config_once NAME SAVER RUN: prints "ms"
  local t0; t0=$(now_ms)
  "$WINE" "$2" /c & local pid=$!
  local t=-1
  for _ in $(seq 300); do
    if window_named "Configure $1" >/dev/null; then t=$(( $(now_ms) - t0 )); break; fi
    sleep 0.1
  done
  sleep 3
  shot "config-${1}-$3"
  local w; w=$(window_named "Configure $1")
  if [ -n "$w" ]; then
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/\1=/p')"
    local border=$(( (WIDTH - 400) / 2 ))
    xdotool mousemove $((X + border + 50)) $((Y + HEIGHT - 300 - border + 275)) click 1
  fi
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  [ -z "$(work_folders "$1")" ] || note "$1: working folder left after the configuration window"
  echo "$t"
}

big=$(saver_of Start100 100)
small=$(saver_of Start2 2)
note "savers: $(du -m "$big" | cut -f1) MB and $(du -m "$small" | cut -f1) MB"
# The savers were just written: let the disk take them first, so that the first start does
# not compete with writing them back.
sync
cold() {
  [ -n "${KX_COLD:-}" ] || return 0
  sync
  echo 3 > /proc/sys/vm/drop_caches 2>/dev/null || note "the page cache cannot be dropped (not root?)"
}
"$WINE" cmd /c exit >/dev/null 2>&1
for r in $(seq "$runs"); do
  order="Start100 Start2"; [ $((r % 2)) = 0 ] && order="Start2 Start100"
  for name in $order; do
    saver=$big; [ $name = Start2 ] && saver=$small
    cold
    set -- $(show_once $name "$saver")
    echo "show   $name run $r: first picture after $1 ms, $2 files in the working folder, $3 MB of the saver read"
    cold
    echo "config $name run $r: window visible after $(config_once $name "$saver" "$r") ms"
  done
done
mkdir -p "$build/start_wine"
cp "$state"/config-*.png "$state"/show-*.png "$build/start_wine/" 2>/dev/null
note "screenshots of the shows and the configuration windows in $build/start_wine"
