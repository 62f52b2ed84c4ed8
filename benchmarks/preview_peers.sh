#!/usr/bin/env bash
# Selecting a 100-frame 512 × 512 GIF (a disc over a gradient, every frame different, 40 ms each).
# In process, from PreviewBenchmark (two runs of at least RUNS repetitions, each the median of nine
# selections; the cold one is the first selection of a repetition): the first paint after the
# selection (goal: under 40 ms), the time until every frame is decoded, and the longest main-thread
# turn (goal: under 16 ms); then the same after 32 such GIFs selected 30 ms apart, as with the Down
# key held (goal: under 16 ms on eight cores). As whole processes, in turn, two rounds of RUNS pairs
# (default 7): our decode of every frame (`bench_PreviewBenchmark --decode`) against ImageMagick 6
# coalescing the frames to raw RGBA, with how much of ours is the process's own start. (gifsicle is no
# peer here: it refuses to unoptimize this GIF, "too complex to unoptimize", and only copies it.)
# The threads matter: run it under `taskset -c 0` too for one core.
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

load_before=$(load1)
inprocess_runs "$runs" "$work/inprocess" "$bench"
load_after=$(load1)
for zoom in 512 128; do
    name="BM_SelectAnimatedGif/$zoom"
    echo "in process at $zoom px (load $load_before→$load_after):"
    for counter in first_paint_ms cold_first_paint_ms decode_ms ready_ms max_stall_ms max_stall_cpu_ms max_playback_stall_ms; do
        printf '    %-22s %s\n' "$counter" "$(inprocess "$work/inprocess" "$name" "$counter")"
    done
done
echo "in process after 32 selections 30 ms apart, at 512 px:"
for counter in first_paint_ms ready_ms max_stall_ms max_stall_cpu_ms; do
    printf '    %-22s %s\n' "$counter" "$(inprocess "$work/inprocess" BM_SelectAfterHeldKey/512 "$counter")"
done

ours() { "$bench" --decode "$work/preview.gif"; }
peer() { convert-im6.q16 "$work/preview.gif" -coalesce rgba:"$work/frames.raw"; }
read -r ours_ms peer_ms ratio detail < <(alternate "$runs" ours peer)
printf 'whole process, decoding 100 frames against ImageMagick: ours %s ms, peer %s ms, peer ÷ ours %s×\n    %s\n    %s\n' \
    "$ours_ms" "$peer_ms" "$ratio" "$detail" "$(start_share "$runs" "$ours_ms" "$bench")"
echo "input: $(stat -c %s "$work/preview.gif") bytes; $(machine_note)"
