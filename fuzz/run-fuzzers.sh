#!/usr/bin/env bash
# Runs every fuzz target side by side for the given number of seconds, then reports executions,
# coverage and findings. Usage: run-fuzzers.sh <seconds> [build dir]
# Each target keeps the inputs it finds in <build dir>/fuzz-corpus/<target> between runs; a crash,
# hang or leak leaves its input in <build dir>/fuzz-findings. Turn each finding into a file in
# fuzz/regressions (named after what it catches), which the replay test runs in every build.
set -euo pipefail
seconds=${1:?usage: run-fuzzers.sh <seconds> [build dir]}
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${2:-$here/../build-fuzz}" && pwd)
corpus=$build/fuzz-corpus
findings=$build/fuzz-findings
logs=$build/fuzz-logs
targets=(scan decode rewrite bench records)

"$here/make-seeds.sh" "$build" "$corpus"
mkdir -p "$findings" "$logs"
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export LSAN_OPTIONS=suppressions=$here/../tests/lsan.supp

pids=()
for target in "${targets[@]}"; do
  mkdir -p "$corpus/$target"
  # A gigabyte of frames is within the decode budget; an input slower than 10 s is a stall.
  "$build/fuzz/fuzz_$target" "$corpus/$target" "$corpus/seeds/$target" \
    -dict="$here/plenoria.dict" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=3072 \
    -print_final_stats=1 -artifact_prefix="$findings/$target-" >"$logs/$target.log" 2>&1 &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do
  wait "$pid" || status=1
done

for target in "${targets[@]}"; do
  log=$logs/$target.log
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || echo "cov: ?")
  echo "$target: $runs executions, $cov, corpus $(ls "$corpus/$target" | wc -l) inputs"
done
if ls "$findings"/* >/dev/null 2>&1; then
  echo "Findings:"
  ls -l "$findings"
  status=1
fi
exit $status
