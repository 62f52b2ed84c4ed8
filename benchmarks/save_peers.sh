#!/usr/bin/env bash
# Saving a 100-frame 256 × 256 animation (generated emoji, 40 ms a frame) with a brightness
# adjustment, in its own type: GIF, lossless WebP and lossy WebP (quality 90, method 1). Ours as a
# whole process (`bench_SaveBenchmark --save FILE`: read, decode every frame, adjust, encode, write
# atomically) in turn with ImageMagick 6 doing the same decode, adjust and encode, two rounds of
# RUNS pairs (default 7), with how much of ours is the process's own start. The two brighten by
# different formulas, so their outputs are compared by size only. The in-process figure is
# SaveBenchmark's median over two runs of at least RUNS repetitions.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-7}
make bench >/dev/null
bench=build-bench/benchmarks/bench_SaveBenchmark
. benchmarks/peer-timing.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
mkdir "$work/sources" "$work/ours"
"$bench" --dump-sources "$work/sources"
inprocess_runs "$runs" "$work/inprocess" "$bench"

for kind in gif webp-lossless webp-lossy; do
    case $kind in
    gif) name=wave.gif benchmark=animatedGIF options=() ;;
    webp-lossless) name=wave.webp benchmark=animatedWebPLossless
        options=(-define webp:lossless=true -define webp:method=1) ;;
    webp-lossy) name=wave-lossy.webp benchmark=animatedWebPLossy options=(-quality 90 -define webp:method=1) ;;
    esac
    ours() { cp "$work/sources/$name" "$work/ours/$name" && "$bench" --save "$work/ours/$name"; }
    peer() { convert-im6.q16 "$work/sources/$name" -coalesce -modulate 120 "${options[@]}" "$work/peer-$name"; }
    read -r ours_ms peer_ms ratio detail < <(alternate "$runs" ours peer)
    printf '%s: ours %s ms, convert-im6.q16 %s ms, peer ÷ ours %s×\n    %s\n    %s\n' "$kind" "$ours_ms" \
        "$peer_ms" "$ratio" "$detail" "$(start_share "$runs" "$ours_ms" "$bench")"
    printf '    in process: %s; size %s vs %s B\n' "$(inprocess "$work/inprocess" "$benchmark")" \
        "$(stat -c %s "$work/ours/$name")" "$(stat -c %s "$work/peer-$name")"
done
echo "$(machine_note)"
