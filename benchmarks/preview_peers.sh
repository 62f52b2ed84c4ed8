#!/usr/bin/env bash
# Times ImageMagick and gifsicle decoding the GIF that PreviewBenchmark selects (100 frames of
# 512 × 512, composited), for the side-by-side ratio against its decode_ms. Run after `make bench`.
set -euo pipefail
cd "$(dirname "$0")/.."
bench=build-bench/benchmarks/bench_PreviewBenchmark
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --dump-source "$work"

. benchmarks/peer-timing.sh

for run in 1 2 3; do
    time_it "convert -coalesce to raw RGBA (run $run)" convert "$work/preview.gif" -coalesce rgba:"$work/frames.raw"
    time_it "gifsicle --unoptimize (run $run)" gifsicle --unoptimize "$work/preview.gif" -o "$work/unoptimized.gif"
done
"$bench"
