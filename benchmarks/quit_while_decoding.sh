#!/usr/bin/env bash
# Quitting while the preview decodes: the time from the windows closing to the process's exit, with
# six 60-frame 768 × 768 GIFs selected 30 ms apart and Quit chosen 30 ms after the last (goal: under
# half a second), and the same once every decode has ended ("settled"), in turn, two rounds of RUNS
# pairs (default 7). Whole process, offscreen; no peer. The pool's threads depend on the cores: run
# it under `taskset -c 0` too for one core.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-7}
runs=$((runs < 7 ? 7 : runs))
make bench >/dev/null
bench=build-bench/benchmarks/bench_QuitBenchmark
. benchmarks/peer-timing.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
"$bench" --make-folder "$work/folder"

# Milliseconds from the "closed" line of one run to its exit, and the preview's jobs running then.
exit_ms() {
    local out end closed jobs
    out=$("$bench" "$1" "$work/folder")
    end=$(date +%s%N)
    read -r closed jobs < <(awk '/^closed / { print $2, $3 }' <<<"$out")
    [ -n "$closed" ] || { echo "no closing reported" >&2; exit 1; }
    awk -v a="$closed" -v b="$end" -v j="$jobs" 'BEGIN { print (b - a) / 1e6, j }'
}

before=$(load1)
decoding=() settled=() rounds=() jobs=()
for round in 1 2; do
    one=()
    exit_ms --quit >/dev/null
    exit_ms --quit-settled >/dev/null
    for _ in $(seq "$runs"); do
        read -r ms running < <(exit_ms --quit)
        one+=("$ms")
        jobs+=("$running")
        read -r ms _ < <(exit_ms --quit-settled)
        settled+=("$ms")
    done
    rounds+=("$(median "${one[@]}")")
    decoding+=("${one[@]}")
done
printf 'quit while decoding: %s ms (%s ms, %d runs; rounds %s / %s ms)%s; preview jobs running at the close: %s\n' \
    "$(fmt "$(median "${decoding[@]}")")" "$(range "${decoding[@]}")" "${#decoding[@]}" "$(fmt "${rounds[0]}")" \
    "$(fmt "${rounds[1]}")" "$(moved "${rounds[0]}" "${rounds[1]}")" "$(printf '%s\n' "${jobs[@]}" | sort -n | sed -n '1p;$p' | paste -sd-)"
printf 'quit settled:        %s ms (%s ms, %d runs)\n' "$(fmt "$(median "${settled[@]}")")" \
    "$(range "${settled[@]}")" "${#settled[@]}"
echo "load $before→$(load1); $(machine_note)"
