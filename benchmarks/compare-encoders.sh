#!/usr/bin/env bash
# Our export encoders against their peers on generated emoji stickers (RGBA, 256 × 256, 50 ms a
# frame): ImageMagick 6 (`convert-im6.q16 +dither -colors 256`) for the plain GIF and `vips gifsave`
# for the dithered one (100 frames); `img2webp -lossy -q 75` for the animated WebP on 25, 100 and
# 400 frames; `cwebp -q 75` for the largest still WebP the export writes (1024 × 1024); and
# `gifsicle -d 10` for the delay rewrite of a 100-frame GIF of about 2.5 MB.
# Whole processes (ours reads the same PNG files as the peer, in the pixel convention) in turn, two
# rounds of RUNS pairs (default 7): medians, ranges and the median of the per-pair ratios peer ÷ ours
# (above 1: we are faster). Beside: sizes, PSNR over opaque pixels, page faults and peak memory of
# one run of each, and how much of our time is the process's own start. The in-process column is
# the Google Benchmark's median over two runs of RUNS repetitions and is compared with nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-7}
make bench >/dev/null
bench=build-bench/benchmarks/bench_EncodersBenchmark
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. benchmarks/peer-timing.sh

for count in 25 100 400; do
    "$bench" --export "$work/$count" "$count"
done
frames=("$work"/100/frames/*.png)
vips arrayjoin "${frames[*]}" "$work/tall.v" --across 1
inprocess_runs "$runs" "$work/bench" "$bench"

psnr_gif() {
    local dir="$work/coalesced-$(basename "$1" .gif)"
    mkdir -p "$dir"
    convert-im6.q16 "$1" -coalesce "$dir/%03d.png"
    "$bench" --psnr "$work/100/frames" "$dir"
}
size() { stat -c %s "$1"; }
same_or_ratio() { cmp -s "$1" "$2" && echo "identical files" || awk -v a="$(size "$1")" -v b="$(size "$2")" \
    'BEGIN { printf "ours ÷ peer %.4f", a / b }'; }

# figure NAME PEER_NAME BENCHMARK: times ours against peer (the functions), prints the figure.
figure() {
    local ours_ms peer_ms ratio detail
    read -r ours_ms peer_ms ratio detail < <(alternate "$runs" ours peer)
    printf '%s: ours %s ms, %s %s ms, peer ÷ ours %s×\n    %s\n    %s\n' "$1" "$ours_ms" "$2" "$peer_ms" \
        "$ratio" "$detail" "$(start_share "$runs" "$ours_ms" "$bench")"
    [ -z "$3" ] || printf '    in process: %s\n' "$(inprocess "$work/bench" "$3")"
}

ours() { "$bench" --encode gif-plain "$work/100/frames" "$work/ours-plain.gif"; }
peer() { convert-im6.q16 -delay 5 "${frames[@]}" +dither -colors 256 -loop 0 "$work/magick.gif"; }
figure "GIF 256 colours, no dither, 100 frames" convert-im6.q16 BM_GifLimitedPlain
printf '    size %s vs %s B; PSNR %s vs %s\n' "$(size "$work/ours-plain.gif")" "$(size "$work/magick.gif")" \
    "$(psnr_gif "$work/ours-plain.gif")" "$(psnr_gif "$work/magick.gif")"

ours() { "$bench" --encode gif-dither "$work/100/frames" "$work/ours-dither.gif"; }
peer() { vips gifsave "$work/tall.v" "$work/vips.gif" --page-height 256; }
figure "GIF 256 colours, dithered, 100 frames" "vips gifsave" BM_GifLimitedDithered
printf '    size %s vs %s B; PSNR %s vs %s\n' "$(size "$work/ours-dither.gif")" "$(size "$work/vips.gif")" \
    "$(psnr_gif "$work/ours-dither.gif")" "$(psnr_gif "$work/vips.gif")"

for count in 25 100 400; do
    dir="$work/$count/frames"
    ours() { "$bench" --encode webp "$dir" "$work/ours.webp"; }
    peer() { img2webp -loop 0 -lossy -q 75 -d 50 "$dir"/*.png -o "$work/img2webp.webp"; }
    figure "WebP quality 75, $count frames" img2webp "$([ "$count" = 100 ] && echo BM_WebPAnimatedQuality75)"
    printf '    %s (%s vs %s B); PSNR %s vs %s; page faults %s vs %s; peak memory %s vs %s MiB\n' \
        "$(same_or_ratio "$work/ours.webp" "$work/img2webp.webp")" "$(size "$work/ours.webp")" \
        "$(size "$work/img2webp.webp")" "$("$bench" --psnr "$dir" "$work/ours.webp")" \
        "$("$bench" --psnr "$dir" "$work/img2webp.webp")" \
        "$(page_faults "$bench" --encode webp "$dir" "$work/ours.webp")" \
        "$(page_faults img2webp -loop 0 -lossy -q 75 -d 50 "$dir"/*.png -o "$work/img2webp.webp")" \
        "$(peak_mib "$bench" --encode webp "$dir" "$work/ours.webp")" \
        "$(peak_mib img2webp -loop 0 -lossy -q 75 -d 50 "$dir"/*.png -o "$work/img2webp.webp")"
done

still="$work/100/still.png"
ours() { "$bench" --encode webp-still "$still" "$work/ours-still.webp"; }
peer() { cwebp -q 75 "$still" -o "$work/cwebp.webp"; }
figure "WebP still, quality 75, 1024 × 1024" cwebp BM_WebPStillQuality75
printf '    %s (%s vs %s B); PSNR %s vs %s; page faults %s vs %s\n' \
    "$(same_or_ratio "$work/ours-still.webp" "$work/cwebp.webp")" "$(size "$work/ours-still.webp")" \
    "$(size "$work/cwebp.webp")" "$("$bench" --psnr "$still" "$work/ours-still.webp")" \
    "$("$bench" --psnr "$still" "$work/cwebp.webp")" \
    "$(page_faults "$bench" --encode webp-still "$still" "$work/ours-still.webp")" \
    "$(page_faults cwebp -q 75 "$still" -o "$work/cwebp.webp")"

ours() { "$bench" --rewrite "$work/100/big.gif" "$work/ours-rewritten.gif" 100; }
peer() { gifsicle -d 10 "$work/100/big.gif" -o "$work/gifsicle.gif"; }
figure "rewriting the delays of a $(size "$work/100/big.gif") B GIF" "gifsicle -d 10" BM_RewriteGIFDelays

echo "$(machine_note)"
