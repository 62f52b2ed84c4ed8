#!/usr/bin/env bash
# Our export encoders against their peers on the same generated animation (100 RGBA frames of
# 256 × 256, 50 ms a frame): ImageMagick 6 (`convert-im6.q16 +dither -colors 256`) for the plain
# GIF, `vips gifsave` for the dithered one, `img2webp -lossy -q 75` for WebP and `gifsicle -d 10`
# for the delay rewrite of a 100-frame GIF of about 2.5 MB.
# Whole processes (ours reads the same PNG files as the peer) run in turn, RUNS pairs (default 7):
# medians and the median of the per-pair ratios peer ÷ ours. The in-process column is the Google
# Benchmark's median and is compared with nothing. Beside: sizes and PSNR over opaque pixels.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-7}
make bench >/dev/null
bench=build-bench/benchmarks/bench_EncodersBenchmark
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bench" --export "$work"
frames=("$work"/frames/*.png)
vips arrayjoin "${frames[*]}" "$work/tall.v" --across 1

. benchmarks/peer-timing.sh

"$bench" --benchmark_format=csv --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
  2>/dev/null >"$work/bench.csv"

psnr_gif() {
  local dir="$work/coalesced-$(basename "$1" .gif)"
  mkdir -p "$dir"
  convert-im6.q16 "$1" -coalesce "$dir/%03d.png"
  "$bench" --psnr "$work/frames" "$dir"
}

size() { stat -c %s "$1"; }

printf '%-20s | %10s %10s %8s | %11s | %9s %9s | %6s %6s\n' \
  workload "ours ms" "peer ms" ratio "ours in-proc" "ours B" "peer B" PSNR "peer"

report() { # name, benchmark, our file, peer file, our PSNR, peer PSNR (after alternate has run)
  printf '%-20s | %7s ms %7s ms %7s× | %8s ms | %9s %9s | %6s %6s\n' "$1" "$ours_ms" "$peer_ms" "$ratio" \
    "$(inprocess_ms "$work/bench.csv" "$2")" "$(size "$3")" "$(size "$4")" "$5" "$6"
}

ours() { "$bench" --encode gif-plain "$work/frames" "$work/ours-plain.gif"; }
peer() { convert-im6.q16 -delay 5 "${frames[@]}" +dither -colors 256 -loop 0 "$work/magick.gif"; }
read -r ours_ms peer_ms ratio < <(alternate "$runs" ours peer)
report "GIF 256, no dither" BM_GifLimitedPlain "$work/ours-plain.gif" "$work/magick.gif" \
  "$(psnr_gif "$work/ours-plain.gif")" "$(psnr_gif "$work/magick.gif")"

ours() { "$bench" --encode gif-dither "$work/frames" "$work/ours-dither.gif"; }
peer() { vips gifsave "$work/tall.v" "$work/vips.gif" --page-height 256; }
read -r ours_ms peer_ms ratio < <(alternate "$runs" ours peer)
report "GIF 256, dithered" BM_GifLimitedDithered "$work/ours-dither.gif" "$work/vips.gif" \
  "$(psnr_gif "$work/ours-dither.gif")" "$(psnr_gif "$work/vips.gif")"

ours() { "$bench" --encode webp "$work/frames" "$work/ours.webp"; }
peer() { img2webp -loop 0 -lossy -q 75 -d 50 "${frames[@]}" -o "$work/img2webp.webp"; }
read -r ours_ms peer_ms ratio < <(alternate "$runs" ours peer)
report "WebP q75" BM_WebPAnimatedQuality75 "$work/ours.webp" "$work/img2webp.webp" \
  "$("$bench" --psnr "$work/frames" "$work/ours.webp")" "$("$bench" --psnr "$work/frames" "$work/img2webp.webp")"

ours() { "$bench" --rewrite "$work/big.gif" "$work/ours-rewritten.gif" 100; }
peer() { gifsicle -d 10 "$work/big.gif" -o "$work/gifsicle.gif"; }
read -r ours_ms peer_ms ratio < <(alternate "$runs" ours peer)
report "rewrite delays" BM_RewriteGIFDelays "$work/ours-rewritten.gif" "$work/gifsicle.gif" same same
echo "input GIF for the rewrite: $(size "$work/big.gif") bytes; times: medians of $runs pairs; $(machine_note)"
