# The show's pace under Wine (sourced by e2e.sh): how long a fade lasts, what a still
# picture costs while it stays, and a show whose picture file went missing.

sampler() { python3 "$(dirname "${BASH_SOURCE[0]}")/screen_sampler.py" "$@"; }

screen_size() { xdpyinfo 2>/dev/null | awk '/dimensions:/ {print $2; exit}'; }

# cpu_ticks PID: user + system time of a process in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# The saver's own process: Wine starts the .scr in the process it was given.
saver_pid() {
  local pid=$1 name=$2
  tr '\0' ' ' < "/proc/$pid/cmdline" 2>/dev/null | grep -q "$name" && echo "$pid"
}

# pace_source DIRECTX TRANSITION_TIME DURATION PICTURES...: solid pictures "R,G,B".
pace_source() {
  local dx=$1 time=$2 duration=$3; shift 3
  new_source
  local i=1
  for c in "$@"; do
    convert -size 640x480 "xc:rgb($c)" "$src/pictures/$i.jpg" || fail "convert"
    i=$((i + 1))
  done
  printf '[General]\r\nProductName=Pace\r\n[Default]\r\nDuration=%s\r\nTransitionTime=%s\r\nTransitionEffects=1\r\nShowImageMode=1\r\nMusic=0\r\nSound=0\r\nDirectX=%s\r\n' \
    "$duration" "$time" "$dx" > "$src/project.ini"
}

# start_show NAME: runs the saver of $src unmanaged (see show.tests.sh) and waits until the
# first picture is on the screen; sets $pid.
start_show() {
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  trap '"$WINE" reg delete "HKCU\\Software\\Wine\\X11 Driver" /v Managed /f >/dev/null 2>&1' EXIT
  local saver; saver=$(make_saver "$1")
  # KX_PATCH="OLD NEW": replaces a text of the same length inside the packed saver.
  [ -n "${KX_PATCH:-}" ] && python3 - "$saver" $KX_PATCH <<'PY'
import sys
path, old, new = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()
data = open(path, "rb").read()
assert len(old) == len(new) and data.count(old) == 1
open(path, "wb").write(data.replace(old, new))
PY
  "$WINE" "$saver" /s & pid=$!
}

end_show() {
  for i in $(seq 60); do
    xdotool mousemove $((300 + (i % 2) * 40)) $((300 + (i % 2) * 30))
    sleep 0.1
    kill -0 $pid 2>/dev/null || break
  done
  kill -0 $pid 2>/dev/null && { kill $pid; fail "the show did not end"; }
  wait $pid || fail "/s ended with $?"
}

# A fade of 2000 ms between two solid pictures lasts 1.7 to 2.3 s on the screen.
fade_length() {
  pace_source "$1" 2000 5 '200,30,30' '30,200,30'
  start_show "Fade$1"
  local size; size=$(screen_size); local cx=$(( ${size%x*} / 2 )) cy=$(( ${size#*x} / 2 ))
  wait_for 30 bash -c "[ \"\$(python3 '$(dirname "${BASH_SOURCE[0]}")/screen_sampler.py' dark $cx $cy 0.1 | cut -d' ' -f1)\" = 0 ]" ||
    { kill $pid; fail "no picture on the screen"; }
  local seen; seen=$(sampler fade $cx $cy 8 200 30 30 30 200 30)
  end_show
  local ms=${seen% *} step=${seen#* }
  note "fade of 2000 ms lasted $ms ms, the screen changing every $step ms (DirectX $1)"
  # Samples see the fade begin and end up to one of the screen's steps late or early.
  [ "$ms" -ge $((1700 - step)) ] && [ "$ms" -le $((2300 + step)) ] || fail "the fade lasted $ms ms"
}
test_show_fade_length() { fade_length 0; }
test_show_fade_length_directx() { fade_length 1; }

# A still picture that stays costs little: at most 5 % of a core over 10 s.
still_cpu() {
  pace_source "$1" 500 600 '40,90,160'
  start_show "Still$1"
  local size; size=$(screen_size); local cx=$(( ${size%x*} / 2 )) cy=$(( ${size#*x} / 2 ))
  wait_for 30 bash -c "[ \"\$(python3 '$(dirname "${BASH_SOURCE[0]}")/screen_sampler.py' dark $cx $cy 0.1 | cut -d' ' -f1)\" = 0 ]" ||
    { kill $pid; fail "no picture on the screen"; }
  sleep 2
  local p; p=$(saver_pid $pid "Still$1") || { kill $pid; fail "no saver process"; }
  local seconds=${KX_CPU_SECONDS:-10}
  local t0 c0; t0=$(date +%s%N); c0=$(cpu_ticks "$p")
  sleep "$seconds"
  local t1 c1; t1=$(date +%s%N); c1=$(cpu_ticks "$p")
  end_show
  local hz; hz=$(getconf CLK_TCK)
  # Tenths of a percent of one core.
  local permille=$(( (c1 - c0) * 1000000000000 / (hz * (t1 - t0)) ))
  note "still picture at $size: $((permille / 10)).$((permille % 10)) % of a core over $seconds s (DirectX $1)"
  [ "$permille" -le 50 ] || fail "the still picture costs $((permille / 10)).$((permille % 10)) % of a core"
}
test_show_still_cpu() { still_cpu 0; }
test_show_still_cpu_directx() { still_cpu 1; }

# The second picture's file is gone from the working folder: the show keeps showing the
# first picture instead of a black screen.
test_show_missing_picture() {
  new_source
  convert -size 640x480 'xc:rgb(200,30,30)' "$src/pictures/red.jpg" || fail "convert"
  convert -size 320x240 'xc:rgb(30,30,200)' "$state/blue.jpg" || fail "convert"
  "$kxtool" kxp make --picture "$state/blue.jpg" --out "$src/pictures/missing.kxp" >/dev/null || fail "kxp make"
  printf '[General]\r\nProductName=Missing\r\n[Default]\r\nDuration=2\r\nTransitionTime=500\r\nShowImageMode=1\r\nMusic=0\r\nDirectX=0\r\n[FileList]\r\nred.jpg=1\r\nmissing.kxp=1\r\n' \
    > "$src/project.ini"
  # The saver reads its pictures from its own file: the file list is made to name a
  # picture file that the package does not hold.
  KX_PATCH="missing.kxp=1 mossing.kxp=1" start_show Missing
  local size; size=$(screen_size); local cx=$(( ${size%x*} / 2 )) cy=$(( ${size#*x} / 2 ))
  wait_for 30 bash -c "[ \"\$(python3 '$(dirname "${BASH_SOURCE[0]}")/screen_sampler.py' dark $cx $cy 0.1 | cut -d' ' -f1)\" = 0 ]" ||
    { kill $pid; fail "no picture on the screen"; }
  local seen; seen=$(sampler dark $cx $cy 8)
  end_show
  note "black in ${seen% *} of ${seen#* } samples over 8 s"
  [ "${seen% *}" = 0 ] || fail "the screen went black (${seen% *} of ${seen#* } samples)"
}
