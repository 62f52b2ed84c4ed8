#!/usr/bin/env bash
# Builds the benchmarks, then times ImageItems for a folder of 2,000 generated images against
# ImageMagick's `identify -ping` over the same folder, one after the other on this machine, and prints
# the ratio. The goal is a ratio of at least 20.
# Usage: benchmarks/compare-identify.sh [folder]   (default: a folder in the system's temporary directory)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ge 1 ]; then
  export PLENORIA_BENCH_FOLDER="$1"
fi
make bench >/dev/null
export QT_QPA_PLATFORM=offscreen

csv=$(./build-bench/benchmarks/bench_ImageItemBenchmark --benchmark_format=csv 2>/dev/null)
echo "$csv"
ours=$(echo "$csv" | awk -F, '$1 ~ /BM_ImageItemsForFolder/ {print $3}')
peer=$(echo "$csv" | awk -F, '$1 ~ /BM_IdentifyPingFolder/ {print $3}')
awk -v ours="$ours" -v peer="$peer" 'BEGIN {
  ratio = peer / ours
  printf "ImageItems: %.1f ms   identify -ping: %.1f ms   ratio: %.1f× (goal: 20×) %s\n",
         ours, peer, ratio, (ratio >= 20 ? "met" : "NOT met")
  exit (ratio >= 20 ? 0 : 1)
}'
