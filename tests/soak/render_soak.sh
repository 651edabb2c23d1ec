#!/bin/bash
# The show rendered headless for many hours of show time under the sanitizer build:
#   tests/soak/render_soak.sh ASAN_BUILD HOURS [SIZE] [REAL_SECONDS_LIMIT]
# kxtool render of the sanitizer build runs the soak show (Duration 1, TransitionTime 300,
# every effect, living pictures with water, objects, snow and rain) at a small size with its
# simulated clock. Every 10 real seconds the process's resident memory is sampled (with the
# show time reached, from the frames written once a minute of show time). At the end
# the leak checker runs; the script fails on a leak or on any sanitizer report, and prints the
# memory samples (build/soak/render-memory.csv). Not part of ./kx test: it runs for hours.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
asan=$1 hours=$2 size=${3:-160x120} limit=${4:-0}
kxtool=$asan/kxtool
[ -x "$kxtool" ] || { echo "no $kxtool: build the sanitizer configuration first" >&2; exit 2; }
out=$root/build/soak
rm -rf "$out/render" && mkdir -p "$out/render/frames"
. "$root/tests/soak/soak_source.sh"
make_soak_source "$out/render/source" "$kxtool" 1
# kxtool render reads the saver file's package only: a small stand-in engine will do.
head -c 4096 /dev/zero > "$out/render/engine.scr"
"$kxtool" pack --engine "$out/render/engine.scr" --source "$out/render/source" --out "$out/render/Soak.scr" >/dev/null
seconds=$(awk -v h="$hours" 'BEGIN { printf "%d", h * 3600 }')
csv=$out/render-memory.csv
echo "real_s,show_s,rss_kb" > "$csv"
# A small quarantine, so that resident memory shows what the show holds.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:quarantine_size_mb=16:allocator_release_to_os_interval_ms=1000 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
"$kxtool" render "$out/render/Soak.scr" --size "$size" --seconds "$seconds" --fps 1 --every 60 \
  --out "$out/render/frames" >"$out/render/render.log" 2>&1 &
pid=$!
start=$(date +%s)
while kill -0 "$pid" 2>/dev/null; do
  sleep 10
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
  [ -n "$rss" ] || break
  shown=$(( $(ls "$out/render/frames" | wc -l) * 60 ))
  echo "$(( $(date +%s) - start )),$shown,$rss" >> "$csv"
  if [ "$limit" -gt 0 ] && [ $(( $(date +%s) - start )) -ge "$limit" ]; then
    # Out of time: end it the way the leak checker still runs (SIGINT is not caught by it,
    # so the report comes from the samples alone).
    kill "$pid"; wait "$pid" 2>/dev/null || true
    echo "stopped after $limit s at about $shown s of show time"
    cat "$csv"
    exit 0
  fi
done
rc=0; wait "$pid" || rc=$?
cat "$csv"
tail -n 3 "$out/render/render.log"
if [ $rc -ne 0 ] || grep -q "ERROR: \(Address\|Leak\)Sanitizer\|runtime error" "$out/render/render.log"; then
  echo "FAIL: the render ended with $rc or a sanitizer report (see $out/render/render.log)"
  exit 1
fi
echo "ok: no leak, no sanitizer report"
