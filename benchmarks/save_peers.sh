#!/usr/bin/env bash
# Times ImageMagick on the sources that SaveBenchmark saves, for the side-by-side ratio: the same
# decode, brightness adjustment and re-encode (GIF; WebP lossless and lossy 90 at method 1).
# Run after `make bench`.
set -euo pipefail
cd "$(dirname "$0")/.."
bench=build-bench/benchmarks/bench_SaveBenchmark
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --dump-sources "$work"

. benchmarks/peer-timing.sh

time_it "convert gif" convert "$work/wave.gif" -coalesce -modulate 120 "$work/peer.gif"
time_it "convert webp lossless" convert "$work/wave.webp" -coalesce -modulate 120 \
    -define webp:lossless=true -define webp:method=1 "$work/peer.webp"
time_it "convert webp lossy q90" convert "$work/wave-lossy.webp" -coalesce -modulate 120 \
    -quality 90 -define webp:method=1 "$work/peer-lossy.webp"
ls -l "$work"/peer* | awk '{print $9 ": " $5 " bytes"}'
"$bench"
