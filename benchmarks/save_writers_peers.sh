#!/usr/bin/env bash
# Times the peers on the frames that SaveWritersBenchmark encodes, for the side-by-side ratio:
# img2webp with the settings of our animated WebP save (lossless / lossy 90, method 1, 40 ms) and
# apngasm with plain zlib. Run after `make bench`.
set -euo pipefail
cd "$(dirname "$0")/.."
bench=build-bench/benchmarks/bench_SaveWritersBenchmark
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --dump-frames "$work"
frames=("$work"/frame*.png)

. benchmarks/peer-timing.sh

time_it "img2webp lossless" img2webp -lossless -m 1 -d 40 "${frames[@]}" -o "$work/peer-lossless.webp"
time_it "img2webp lossy q90" img2webp -lossy -q 90 -m 1 -d 40 "${frames[@]}" -o "$work/peer-lossy.webp"
time_it "apngasm zlib" apngasm "$work/peer.png" "$work/frame000.png" 4 100 -z0
ls -l "$work"/peer* | awk '{print $9 ": " $5 " bytes"}'
"$bench"
