#!/usr/bin/env bash
# Scanning a folder: our whole scan process (`bench_ImageItemBenchmark --scan DIR`: start, list the
# folder, read every header, exit) against ImageMagick's `identify -ping` over the same files, in
# turn, two rounds of RUNS pairs (default 7), with how much of ours is the process's own start; and,
# in a line of its own, the in-process scan (two runs of at least RUNS repetitions) against the same
# scan reading one file after another.
# Goals: whole process at least 20 × faster than identify on light-2000; in process under 12 ms
# (light-2000) and 45 ms (light-8000) on 8 cores.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-7}
make bench >/dev/null
bench=build-bench/benchmarks/bench_ImageItemBenchmark
. benchmarks/peer-timing.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

inprocess_runs "$runs" "$work/inprocess" "$bench"

for folder in light-2000 light-8000 heavy-2000; do
    read -r path files frames < <("$bench" --folder "${folder%-*}" "${folder#*-}")
    ours() { "$bench" --scan "$path"; }
    peer() { identify-im6.q16 -ping "$path"/*; }
    read -r ours_ms peer_ms ratio detail < <(alternate "$runs" ours peer)
    printf '%s (%s files, %s frames): ours %s ms, identify -ping %s ms, identify ÷ ours %s×\n    %s\n    %s\n' \
        "$folder" "$files" "$frames" "$ours_ms" "$peer_ms" "$ratio" "$detail" \
        "$(start_share "$runs" "$ours_ms" "$bench")"
    printf '    in process: %s; one file after another %s\n' \
        "$(inprocess "$work/inprocess" "BM_Scan/$folder")" "$(inprocess "$work/inprocess" "BM_ScanOneByOne/$folder")"
done
echo "$(machine_note)"
