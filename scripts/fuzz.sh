#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) in build-fuzz and runs each for SECONDS
# (default 60) on its seed corpus: scripts/fuzz.sh [SECONDS] [TARGET...]
# Targets: profile book csv postcard codec foreign. New interesting inputs go to
# build-fuzz/scratch/TARGET, crashes to build-fuzz/findings/; the seeds in tests/fuzz/corpus
# are only read. Fails when a target finds anything.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=(profile book csv postcard codec foreign)

CC=clang CXX=clang++ scripts/build.sh build-fuzz -DORIVEL_FUZZ=ON

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1
failed=()
for t in "${targets[@]}"; do
  scratch=build-fuzz/scratch/$t
  mkdir -p "$scratch" build-fuzz/findings
  echo "-- fuzz_$t for ${seconds}s"
  if ! build-fuzz/tests/fuzz/fuzz_"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix=build-fuzz/findings/"$t"- \
      "$scratch" tests/fuzz/corpus/"$t" >build-fuzz/fuzz_"$t".log 2>&1; then
    failed+=("$t")
    tail -n 40 build-fuzz/fuzz_"$t".log
  else
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' \
      build-fuzz/fuzz_"$t".log | tr '\n' ' '
    echo
  fi
done
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "Fuzz targets with findings: ${failed[*]} (inputs in build-fuzz/findings)"
  exit 1
fi
