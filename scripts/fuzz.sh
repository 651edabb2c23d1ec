#!/bin/bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, AddressSanitizer, UBSan) in
# build/fuzz and runs them over their corpora:
#   scripts/fuzz.sh build                   build the targets and write the seed corpora
#   scripts/fuzz.sh list                    the targets' names
#   scripts/fuzz.sh run TARGET SECONDS      one target for SECONDS over its corpus
#   scripts/fuzz.sh all [SECONDS] [JOBS]    every target, JOBS (2) at a time
#   scripts/fuzz.sh check TARGET SECONDS    as run, quietly (CI)
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

case "${1:-}" in
  build) build ;;
  list) printf '%s\n' "${targets[@]}" ;;
  run) run "$2" "$3" ;;
  check) run "$2" "$3" quiet ;;
  all)
    seconds=${2:-60}; jobs=${3:-2}; failed=0
    printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} "$0" run {} "$seconds" || failed=1
    exit $failed ;;
  *) echo "usage: scripts/fuzz.sh build | list | run TARGET SECONDS | all [SECONDS] [JOBS]" >&2; exit 2 ;;
esac
