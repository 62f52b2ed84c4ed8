#!/usr/bin/env bash
# Scanning a folder: our whole scan process (`bench_ImageItemBenchmark --scan DIR`: start, list the
# folder, read every header, exit) against ImageMagick's `identify -ping` over the same files, in
# turn, RUNS pairs (default 9); and, in a column of its own, the in-process scan (median of the
# Google Benchmark's repetitions) against the same scan reading one file after another.
# Goals: whole process at least 20 × faster than identify on light-2000; in process under 12 ms
# (light-2000) and 45 ms (light-8000) on 8 cores.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-9}
make bench >/dev/null
bench=build-bench/benchmarks/bench_ImageItemBenchmark
. benchmarks/peer-timing.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

"$bench" --benchmark_format=csv 2>/dev/null >"$work/inprocess.csv"

printf '%-11s %6s %7s | %13s %13s %9s | %13s %13s %9s\n' folder files frames \
    "ours process" "identify" "ratio" "ours in-proc" "one by one" "ratio"
for folder in light-2000 light-8000 heavy-2000; do
    read -r path files frames < <("$bench" --folder "${folder%-*}" "${folder#*-}")
    ours() { "$bench" --scan "$path"; }
    peer() { identify-im6.q16 -ping "$path"/*; }
    read -r ours_ms peer_ms ratio < <(alternate "$runs" ours peer)
    parallel=$(inprocess_ms "$work/inprocess.csv" "BM_Scan/$folder")
    serial=$(inprocess_ms "$work/inprocess.csv" "BM_ScanOneByOne/$folder")
    printf '%-11s %6s %7s | %10s ms %10s ms %8s× | %10s ms %10s ms %8s×\n' "$folder" "$files" "$frames" \
        "$ours_ms" "$peer_ms" "$ratio" "$parallel" "$serial" \
        "$(awk -v a="$serial" -v b="$parallel" 'BEGIN { printf "%.1f", a / b }')"
done
echo "whole process: medians of $runs pairs, ratio = median of identify ÷ ours per pair; $(machine_note)"
