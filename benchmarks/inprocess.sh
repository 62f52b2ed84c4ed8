#!/usr/bin/env bash
# In-process figures that have no peer: inprocess.sh BENCHMARK [NAME[@COUNTER]]… runs
# build-bench/benchmarks/bench_BENCHMARK twice (two rounds) with at least RUNS (default 7)
# repetitions and prints, for each NAME (every benchmark when none is given), the median of its
# real time (or of COUNTER) over both rounds, its range and the load average, flagging a figure whose
# rounds differ by more than 15 %. Prefix with `taskset -c 0` to keep it on one core.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-7}
make bench >/dev/null
bench=build-bench/benchmarks/bench_$1
shift
. benchmarks/peer-timing.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

before=$(load1)
inprocess_runs "$runs" "$work/runs" "$bench"
after=$(load1)
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    mapfile -t names < <(awk -F, '/^"/ { n = $1; gsub(/"/, "", n); if (n !~ /_(mean|median|stddev|cv)$/) print n }' \
        "$work/runs.1" | awk '!seen[$0]++')
fi
for entry in "${names[@]}"; do
    name=${entry%%@*}
    counter=real_time
    [ "$entry" = "$name" ] || counter=${entry#*@}
    printf '%s%s: %s\n' "$name" "$([ "$counter" = real_time ] || echo " $counter")" \
        "$(inprocess "$work/runs" "$name" "$counter")"
done
echo "load average $before→$after; $(machine_note)"
