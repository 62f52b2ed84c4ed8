#!/usr/bin/env bash
# Our export encoders against their peers on the same generated animation (100 RGBA frames of
# 256 × 256), run side by side: ImageMagick (`convert +dither -colors 256`) for the plain GIF,
# `vips gifsave` for the dithered one, `img2webp -lossy -q 75` for WebP and `gifsicle -d 10` for the
# delay rewrite of a 100-frame GIF of about 2.5 MB.
# Prints times (best of RUNS), the peer ÷ ours ratios, output sizes and PSNR over opaque pixels.
# "ours" is the in-process time of the Google Benchmark; "ours e2e" runs our encoder as a process that
# decodes the same PNG files, as the peers do.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-3}
make bench >/dev/null
bench=build-bench/benchmarks/bench_EncodersBenchmark
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bench" --export "$work"
frames=("$work"/frames/*.png)
vips arrayjoin "${frames[*]}" "$work/tall.v" --across 1

# Best wall time of $runs runs, in milliseconds.
best_ms() {
  local best=""
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    local ms=$(((end - start) / 1000000))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

# In-process times in milliseconds (median of RUNS repetitions), by benchmark name.
"$bench" --benchmark_format=csv --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
  2>/dev/null >"$work/bench.csv"
inprocess_ms() {
  awk -F, -v median="\"$1/real_time_median\"" -v single="\"$1/real_time\"" '
    $1 == median || ($1 == single && t == "") { t = $3; u = $5; gsub(/"/, "", u)
                 if (u == "us") t /= 1000; if (u == "ns") t /= 1000000 }
    END { if (t != "") printf "%.2f", t }' "$work/bench.csv"
}

psnr_gif() {
  local dir="$work/coalesced-$(basename "$1" .gif)"
  mkdir -p "$dir"
  convert "$1" -coalesce "$dir/%03d.png"
  "$bench" --psnr "$work/frames" "$dir"
}

size() { stat -c %s "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "-" }'; }

printf '%-26s %10s %10s %10s %8s %8s %10s %10s %8s %8s\n' \
  workload "ours ms" "e2e ms" "peer ms" "ratio" "e2e rat." "ours B" "peer B" "PSNR" "peer PSNR"

report() { # name, benchmark, our file, e2e ms, peer ms, peer file
  local ours e2e peer
  ours=$(inprocess_ms "$2")
  printf '%-26s %10s %10s %10s %8s %8s %10s %10s %8s %8s\n' "$1" "$ours" "$4" "$5" \
    "$(ratio "$5" "$ours")" "$(ratio "$5" "$4")" "$(size "$3")" "$(size "$6")" "$7" "$8"
}

# GIF, 256 colours, no dithering, against ImageMagick.
e2e=$(best_ms "$bench" --encode gif-plain "$work/frames" "$work/ours-plain.gif")
peer=$(best_ms convert -delay 5 "${frames[@]}" +dither -colors 256 -loop 0 "$work/magick.gif")
report "GIF 256, no dither" BM_GifLimitedPlain "$work/ours-plain.gif" "$e2e" "$peer" "$work/magick.gif" \
  "$(psnr_gif "$work/ours-plain.gif")" "$(psnr_gif "$work/magick.gif")"

# GIF, 256 colours, dithered, against vips.
e2e=$(best_ms "$bench" --encode gif-dither "$work/frames" "$work/ours-dither.gif")
peer=$(best_ms vips gifsave "$work/tall.v" "$work/vips.gif" --page-height 256)
report "GIF 256, dithered" BM_GifLimitedDithered "$work/ours-dither.gif" "$e2e" "$peer" "$work/vips.gif" \
  "$(psnr_gif "$work/ours-dither.gif")" "$(psnr_gif "$work/vips.gif")"

# Animated WebP at quality 75, against img2webp.
e2e=$(best_ms "$bench" --encode webp "$work/frames" "$work/ours.webp")
peer=$(best_ms img2webp -loop 0 -lossy -q 75 -d 50 "${frames[@]}" -o "$work/img2webp.webp")
report "WebP q75" BM_WebPAnimatedQuality75 "$work/ours.webp" "$e2e" "$peer" "$work/img2webp.webp" \
  "$("$bench" --psnr "$work/frames" "$work/ours.webp")" "$("$bench" --psnr "$work/frames" "$work/img2webp.webp")"

# Delay rewrite of a 100-frame GIF, against gifsicle.
e2e=$(best_ms "$bench" --rewrite "$work/big.gif" "$work/ours-rewritten.gif" 100)
peer=$(best_ms gifsicle -d 10 "$work/big.gif" -o "$work/gifsicle.gif")
report "rewrite delays" BM_RewriteGIFDelays "$work/ours-rewritten.gif" "$e2e" "$peer" "$work/gifsicle.gif" - -
echo "input GIF for the rewrite: $(size "$work/big.gif") bytes; $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg)"
