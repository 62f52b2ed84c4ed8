#!/usr/bin/env bash
# Saving an animation of 256 × 256 generated emoji (RGBA, 40 ms a frame) in each animated type, ours
# against its peer as whole processes in turn (each reads the PNG frames and writes one file), two
# rounds of RUNS pairs (default 7) on 100 frames: img2webp with our save's settings (lossless at
# effort 50 / lossy 90, method 1) and apngasm with plain zlib (-z0). Beside: our in-process encode,
# the sizes, PSNR over opaque pixels where the encoding is lossy, and how much of our time is
# process start.
# Then the peak memory (/usr/bin/time) of one save of 400 frames each, beside the raw frames' size.
# Goal: our animated PNG at most 1.2 × the size of apngasm's and no slower than before; a save
# holds at most about twice the raw frames.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-7}
make bench >/dev/null
bench=build-bench/benchmarks/bench_SaveWritersBenchmark
psnr=build-bench/benchmarks/bench_EncodersBenchmark
. benchmarks/peer-timing.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

mkdir "$work/frames" "$work/frames400"
"$bench" --dump-frames "$work/frames"
"$bench" --dump-frames "$work/frames400" 400
frames=("$work"/frames/frame*.png)
inprocess_runs "$runs" "$work/inprocess" "$bench"
size() { stat -c %s "$1"; }

# figure NAME BENCHMARK OURS_FILE PEER_FILE lossy|lossless
figure() {
    local ours_ms peer_ms ratio detail ours_q=lossless peer_q=lossless
    read -r ours_ms peer_ms ratio detail < <(alternate "$runs" ours peer)
    if [ "$5" = lossy ]; then
        ours_q="PSNR $("$psnr" --psnr "$work/frames" "$3")"
        peer_q="PSNR $("$psnr" --psnr "$work/frames" "$4")"
    fi
    printf '%s: ours %s ms, peer %s ms, peer ÷ ours %s×\n    %s\n    %s\n' "$1" "$ours_ms" "$peer_ms" "$ratio" \
        "$detail" "$(start_share "$runs" "$ours_ms" "$bench")"
    printf '    in process: %s; size %s vs %s B (ours ÷ peer %s); %s vs %s\n' \
        "$(inprocess "$work/inprocess" "$2")" "$(size "$3")" "$(size "$4")" \
        "$(awk -v a="$(size "$3")" -v b="$(size "$4")" 'BEGIN { printf "%.3f", a / b }')" "$ours_q" "$peer_q"
}

ours() { "$bench" --encode apng "$work/frames" "$work/ours.png"; }
peer() { apngasm "$work/peer.png" "${frames[0]}" 4 100 -z0; }
figure "APNG, 100 frames (apngasm -z0)" animatedPNG "$work/ours.png" "$work/peer.png" lossless

ours() { "$bench" --encode webp-lossless "$work/frames" "$work/ours-lossless.webp"; }
peer() { img2webp -lossless -q 50 -m 1 -d 40 "${frames[@]}" -o "$work/peer-lossless.webp"; }
figure "WebP lossless, 100 frames (img2webp)" animatedWebPLossless "$work/ours-lossless.webp" \
    "$work/peer-lossless.webp" lossless

ours() { "$bench" --encode webp-lossy "$work/frames" "$work/ours-lossy.webp"; }
peer() { img2webp -lossy -q 90 -m 1 -d 40 "${frames[@]}" -o "$work/peer-lossy.webp"; }
figure "WebP lossy q90, 100 frames (img2webp)" animatedWebPLossy "$work/ours-lossy.webp" \
    "$work/peer-lossy.webp" lossy

frames400=("$work"/frames400/frame*.png)
echo "peak memory saving 400 frames (raw frames $(awk 'BEGIN { printf "%.1f", 400 * 256 * 256 * 4 / 1048576 }') MiB;" \
    "our process alone $(peak_mib "$bench" --start) MiB):"
printf '    APNG: ours %s MiB, apngasm -z0 %s MiB\n' \
    "$(peak_mib "$bench" --encode apng "$work/frames400" "$work/ours400.png")" \
    "$(peak_mib apngasm "$work/peer400.png" "${frames400[0]}" 4 100 -z0)"
printf '    WebP lossless: ours %s MiB, img2webp %s MiB\n' \
    "$(peak_mib "$bench" --encode webp-lossless "$work/frames400" "$work/ours400.webp")" \
    "$(peak_mib img2webp -lossless -q 50 -m 1 -d 40 "${frames400[@]}" -o "$work/peer400.webp")"
echo "$(machine_note)"
