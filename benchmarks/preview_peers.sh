#!/usr/bin/env bash
# Selecting a 100-frame 512 × 512 GIF (a disc over a gradient, every frame different, 40 ms each).
# In process, from PreviewBenchmark: the first paint after the selection (goal: under 40 ms), the
# time until every frame is decoded, and the longest main-thread turn (goal: under 16 ms).
# As whole processes, in turn, RUNS pairs (default 7): our decode of every frame
# (`bench_PreviewBenchmark --decode`) against ImageMagick 6 coalescing the frames to raw RGBA and
# gifsicle unoptimizing them (gifsicle does not composite to pixels: a lower bound for a decoder).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-7}
make bench >/dev/null
bench=build-bench/benchmarks/bench_PreviewBenchmark
. benchmarks/peer-timing.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
"$bench" --dump-source "$work"

echo "In process (medians of the selections; the cold one is the first of the run):"
"$bench" 2>/dev/null | grep BM_ | sed 's/^/  /'

ours() { "$bench" --decode "$work/preview.gif"; }
printf '%-34s | %10s %10s %8s\n' "whole process: decode 100 frames" "ours ms" "peer ms" "ratio"
for name in magick gifsicle; do
    case $name in
    magick) peer() { convert-im6.q16 "$work/preview.gif" -coalesce rgba:"$work/frames.raw"; } ;;
    gifsicle) peer() { gifsicle --unoptimize "$work/preview.gif" -o "$work/unoptimized.gif"; } ;;
    esac
    read -r ours_ms peer_ms ratio < <(alternate "$runs" ours peer)
    printf '%-34s | %7s ms %7s ms %7s×\n' "against $name" "$ours_ms" "$peer_ms" "$ratio"
done
echo "input: $(stat -c %s "$work/preview.gif") bytes; times: medians of $runs pairs; $(machine_note)"
