#!/bin/bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, AddressSanitizer, UBSan) in
# build/fuzz and runs them over their corpora:
#   scripts/fuzz.sh build                   build the targets and write the seed corpora
#   scripts/fuzz.sh list                    the targets' names
#   scripts/fuzz.sh run TARGET SECONDS      one target for SECONDS over its corpus
#   scripts/fuzz.sh all [SECONDS] [JOBS]    every target, JOBS (2) at a time
#   scripts/fuzz.sh check TARGET SECONDS    as run, quietly (CI)
#   scripts/fuzz.sh campaign [CPU_SECONDS] [TARGET...]
#                                           each target in turn until 10 million executions
#                                           or CPU_SECONDS (1800) of processor time, whichever
#                                           comes first; one line of figures per target
#                                           (build/fuzz/campaign.txt). Processor time, not
#                                           wall time, so that a campaign on a busy machine
#                                           (or at a low priority: nice scripts/fuzz.sh ...)
#                                           still gives every target its full share.
# A target's corpus is the committed regression inputs fuzz/regress/TARGET, the seeds
# written by fuzz_make_seeds, and what earlier runs found (build/fuzz/corpus/TARGET).
# Every run limits memory so that a huge allocation from a small input is a finding too;
# findings land in build/fuzz/findings/TARGET.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${KX_FUZZ_BUILD:-$root/build/fuzz}
targets=(container picture_file ini gui bmp gif jpeg anim_text transitions)
flags=(-rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10 -max_len=65536 -print_final_stats=1)

build() {
  if ! command -v clang++ >/dev/null; then
    echo "clang is missing: ./kx fuzz installs it" >&2
    exit 1
  fi
  cmake -S "$root/fuzz" -B "$out" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$out" -j "${KX_FUZZ_JOBS:-$(nproc 2>/dev/null || echo 2)}"
  rm -rf "$out/seeds"
  "$out/fuzz_make_seeds" "$out/seeds"
}

corpora() {  # the folders of one target, the one new inputs go to first
  local t=$1
  mkdir -p "$out/corpus/$t" "$out/findings/$t"
  echo "$out/corpus/$t"
  [ -d "$out/seeds/$t" ] && echo "$out/seeds/$t"
  [ -d "$root/fuzz/regress/$t" ] && echo "$root/fuzz/regress/$t"
  return 0
}

run() {
  local t=$1 seconds=$2 quiet=${3:-}
  [ -x "$out/fuzz_$t" ] || { echo "no fuzz target $t (scripts/fuzz.sh build)" >&2; exit 2; }
  local dirs; mapfile -t dirs < <(corpora "$t")
  local log="$out/findings/$t/last.log"
  local rc=0
  (cd "$out/findings/$t" && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
     UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     "$out/fuzz_$t" "${flags[@]}" -max_total_time="$seconds" -artifact_prefix="$out/findings/$t/" \
     "${dirs[@]}") >"$log" 2>&1 || rc=$?
  local stats; stats=$(grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$log" | tr '\n' ' ')
  local cov; cov=$(grep -oE "cov: [0-9]+ ft: [0-9]+" "$log" | tail -n 1)
  if [ $rc -ne 0 ]; then
    echo "FAIL $t: see $log"
    grep -E "ERROR|SUMMARY|Test unit written" "$log" | head -n 5
    return 1
  fi
  [ -n "$quiet" ] || echo "ok $t ${seconds}s $cov $stats"
  [ -z "$quiet" ] || echo "ok $t $cov $stats"
}

# campaign_one TARGET CPU_SECONDS: prints "target executions cpu_s wall_s cov ft corpus rss_mb found"
campaign_one() {
  local t=$1 budget=$2
  [ -x "$out/fuzz_$t" ] || { echo "no fuzz target $t (scripts/fuzz.sh build)" >&2; return 2; }
  local dirs; mapfile -t dirs < <(corpora "$t")
  local log="$out/findings/$t/campaign.log"
  local before; before=$(ls "$out/findings/$t" | grep -cE '^(crash|leak|oom|timeout|slow-unit)-' || true)
  local start; start=$(date +%s)
  (cd "$out/findings/$t" && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
     UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     exec "$out/fuzz_$t" "${flags[@]}" -runs=10000000 -artifact_prefix="$out/findings/$t/" \
     "${dirs[@]}") >"$log" 2>&1 &
  local pid=$! tick; tick=$(getconf CLK_TCK)
  local cpu=0
  while kill -0 "$pid" 2>/dev/null; do
    sleep 5
    # utime + stime of the fuzzer, in clock ticks (fields 14 and 15 of its stat line).
    cpu=$(awk -v t="$tick" '{ sub(/^.*\) /, ""); printf "%d", ($12 + $13) / t }' "/proc/$pid/stat" 2>/dev/null || echo "$cpu")
    if [ "$cpu" -ge "$budget" ]; then kill -INT "$pid" 2>/dev/null; break; fi
  done
  wait "$pid" 2>/dev/null || true
  local wall=$(( $(date +%s) - start ))
  local execs; execs=$(grep -oE '^#[0-9]+' "$log" | tail -n 1 | tr -d '#')
  local final; final=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  [ -n "$final" ] && execs=$final
  local cov; cov=$(grep -oE "cov: [0-9]+ ft: [0-9]+" "$log" | tail -n 1 | awk '{print $2, $4}')
  local rss; rss=$(grep -oE "rss: [0-9]+Mb" "$log" | tail -n 1 | tr -dc 0-9)
  local corpus; corpus=$(ls "$out/corpus/$t" | wc -l)
  local after; after=$(ls "$out/findings/$t" | grep -cE '^(crash|leak|oom|timeout|slow-unit)-' || true)
  echo "$t ${execs:-0} $cpu $wall ${cov:-0 0} $corpus ${rss:-0} $((after - before))"
}

case "${1:-}" in
  build) build ;;
  list) printf '%s\n' "${targets[@]}" ;;
  run) run "$2" "$3" ;;
  check) run "$2" "$3" quiet ;;
  all)
    seconds=${2:-60}; jobs=${3:-2}; failed=0
    printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} "$0" run {} "$seconds" || failed=1
    exit $failed ;;
  campaign)
    budget=${2:-1800}; shift; [ $# -gt 0 ] && shift
    list=("$@"); [ ${#list[@]} -gt 0 ] || list=("${targets[@]}")
    echo "# target executions cpu_s wall_s cov ft corpus_files peak_rss_mb findings" | tee -a "$out/campaign.txt"
    for t in "${list[@]}"; do campaign_one "$t" "$budget" | tee -a "$out/campaign.txt"; done ;;
  *) echo "usage: scripts/fuzz.sh build | list | run TARGET SECONDS | all [SECONDS] [JOBS] | campaign [CPU_SECONDS] [TARGET...]" >&2; exit 2 ;;
esac
