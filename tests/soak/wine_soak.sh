#!/bin/bash
# The saver under Wine for many minutes, its memory sampled:
#   tests/soak/wine_soak.sh KXTOOL WIN64_BUILD [MINUTES]
# The soak show (Duration 2, transitions, living pictures with water, objects, snow and rain,
# music) runs full screen on a virtual display of its own. Every 30 seconds the saver
# process's working set (its resident memory) is sampled. At the end a mouse movement must
# end the show, and the working folder must be gone. Fails when the working set grows by
# more than 2 MB after the first minute. Not part of ./kx test: it runs for minutes.
# The working set swings by about 2 MB with what the show has on screen (a living picture's
# buffers, a still picture), so one sample says little about growth: the growth is the
# highest working set of the last three minutes against the highest of minutes 1 to 3 (a
# leak raises every later peak). The earlier rule, the highest later sample against the one
# at one minute, is printed too.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
kxtool=$1 win64=$2 minutes=${3:-10}
state=$root/build/soak/wine
csv=$root/build/soak/wine-memory.csv
"$root/tests/e2e/e2e.sh" setup "$state" "$kxtool" "$win64" || exit 1
. "$state/env"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$state/prefix"
WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
finish() { "$root/tests/e2e/e2e.sh" cleanup "$state" >/dev/null 2>&1; }
trap finish EXIT

. "$root/tests/soak/soak_source.sh"
src=$state/source
python3 - "$state/tune.wav" <<'PY'
import struct, sys, math
rate, seconds = 8000, 20
data = bytes(int(128 + 60 * math.sin(2 * math.pi * 440 * i / rate)) for i in range(rate * seconds))
with open(sys.argv[1], 'wb') as f:
    f.write(b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVEfmt ' +
            struct.pack('<IHHIIHH', 16, 1, 1, rate, rate, 1, 8) + b'data' + struct.pack('<I', len(data)) + data)
PY
make_soak_source "$src" "$kxtool" 2 "$state/tune.wav"
saver="$WINEPREFIX/drive_c/savers/Soak.scr"
mkdir -p "$(dirname "$saver")"
"$kxtool" pack --engine "$win64/kxsaver.scr" --source "$src" --out "$saver" >/dev/null || exit 1

"$WINE" "$saver" /s >/dev/null 2>&1 &
sleep 5
# The saver's own process: the one whose command line names it, with the most memory.
pid=""
for p in $(pgrep -f 'savers/Soak\.scr'); do
  r=$(awk '/^VmRSS/ {print $2}' "/proc/$p/status" 2>/dev/null)
  [ -n "$r" ] || continue
  if [ -z "$pid" ] || [ "$r" -gt "$best" ]; then pid=$p; best=$r; fi
done
[ -n "$pid" ] || { echo "FAIL: the saver did not start"; exit 1; }
echo "seconds,working_set_kb" > "$csv"
start=$(date +%s)
end=$(( start + minutes * 60 ))
while [ "$(date +%s)" -lt "$end" ]; do
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null)
  [ -n "$rss" ] || { echo "FAIL: the saver ended by itself after $(( $(date +%s) - start )) s"; cat "$csv"; exit 1; }
  echo "$(( $(date +%s) - start )),$rss" >> "$csv"
  sleep 30
done
import -window root "$root/build/soak/wine-end.png" 2>/dev/null
# Input ends the show: the first five movements are ignored, then one of more than 2 pixels.
for i in $(seq 12); do xdotool mousemove $((100 + 30 * i)) $((100 + 20 * i)); sleep 0.3; done
ended=0
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || { ended=1; break; }; sleep 0.3; done
cat "$csv"
fail=0
[ $ended = 1 ] || { echo "FAIL: the show did not end on input"; fail=1; }
temp=$(ls -d "$WINEPREFIX"/drive_c/users/*/Temp "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp 2>/dev/null | head -n 1)
sleep 1
if ls -d "$temp"/Soak[0-9]* >/dev/null 2>&1; then echo "FAIL: the working folder is left"; fail=1; fi
# Growth after the first minute: the highest working set of the last three minutes against
# the highest of minutes 1 to 3.
end_s=$(tail -n 1 "$csv" | cut -d, -f1)
growth=$(awk -F, -v last="$end_s" 'NR > 1 && $1 >= 60 && $1 < 180 { if ($2 > early) early = $2 }
                  NR > 1 && $1 > last - 180 { if ($2 > late) late = $2 }
                  END { if (early == "" || late == "") print 0; else print late - early }' "$csv")
single=$(awk -F, 'NR > 1 && $1 >= 60 { if (base == "") base = $2; if ($2 > max) max = $2 }
                  END { if (base == "") print 0; else print max - base }' "$csv")
echo "working set growth after the first minute: $growth KB (peak of the last 3 minutes against the peak of minutes 1 to 3; the highest later sample against the one at 60 s: $single KB)"
[ "$growth" -le 2048 ] || { echo "FAIL: the working set grew by more than 2 MB"; fail=1; }
[ $fail = 0 ] && echo "ok"
exit $fail
