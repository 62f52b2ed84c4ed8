#!/usr/bin/env bash
# Saving a 100-frame 256 × 256 animation (generated emoji, RGBA, 40 ms a frame) in each animated
# type, ours against its peer as whole processes in turn (each reads the 100 PNG frames and writes
# one file), RUNS pairs (default 7): img2webp with our save's settings (lossless / lossy 90,
# method 1) and apngasm with plain zlib (-z0). Beside: our in-process encode (median), the sizes,
# and PSNR over opaque pixels where the encoding is lossy. Goal: our animated PNG at most 1.2 × the
# size of apngasm's and no slower than before.
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

mkdir "$work/frames"
"$bench" --dump-frames "$work/frames"
frames=("$work"/frames/frame*.png)
"$bench" --benchmark_format=csv --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
    2>/dev/null >"$work/inprocess.csv"

printf '%-15s | %10s %10s %8s | %12s | %10s %10s %6s | %7s %7s\n' workload "ours ms" "peer ms" ratio \
    "ours in-proc" "ours B" "peer B" "size" "PSNR" "peer"
report() { # name, benchmark, ours file, peer file, lossy
    local ours_q="lossless" peer_q="lossless"
    if [ "$5" = lossy ]; then
        ours_q=$("$psnr" --psnr "$work/frames" "$3")
        peer_q=$("$psnr" --psnr "$work/frames" "$4")
    fi
    printf '%-15s | %7s ms %7s ms %7s× | %9s ms | %10s %10s %5s× | %7s %7s\n' "$1" "$ours_ms" "$peer_ms" "$ratio" \
        "$(inprocess_ms "$work/inprocess.csv" "$2")" "$(stat -c %s "$3")" "$(stat -c %s "$4")" \
        "$(awk -v a="$(stat -c %s "$3")" -v b="$(stat -c %s "$4")" 'BEGIN { printf "%.2f", a / b }')" \
        "$ours_q" "$peer_q"
}

ours() { "$bench" --encode apng "$work/frames" "$work/ours.png"; }
peer() { apngasm "$work/peer.png" "${frames[0]}" 4 100 -z0; }
read -r ours_ms peer_ms ratio < <(alternate "$runs" ours peer)
report "APNG" animatedPNG "$work/ours.png" "$work/peer.png" lossless

ours() { "$bench" --encode webp-lossless "$work/frames" "$work/ours-lossless.webp"; }
peer() { img2webp -lossless -m 1 -d 40 "${frames[@]}" -o "$work/peer-lossless.webp"; }
read -r ours_ms peer_ms ratio < <(alternate "$runs" ours peer)
report "WebP lossless" animatedWebPLossless "$work/ours-lossless.webp" "$work/peer-lossless.webp" lossless

ours() { "$bench" --encode webp-lossy "$work/frames" "$work/ours-lossy.webp"; }
peer() { img2webp -lossy -q 90 -m 1 -d 40 "${frames[@]}" -o "$work/peer-lossy.webp"; }
read -r ours_ms peer_ms ratio < <(alternate "$runs" ours peer)
report "WebP lossy q90" animatedWebPLossy "$work/ours-lossy.webp" "$work/peer-lossy.webp" lossy

echo "times: medians of $runs pairs; ratio = median of peer ÷ ours per pair; size = ours ÷ peer; $(machine_note)"
