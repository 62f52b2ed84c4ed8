#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets: tiny files of every type, from the test builders, our
# own writers and the peer tools (ImageMagick, gifsicle). Usage: make-seeds.sh <build dir> <corpus dir>
# The seeds go to <corpus dir>/seeds/<target>; the fuzzers never write there.
set -euo pipefail
build=${1:?usage: make-seeds.sh <build dir> <corpus dir>}
corpus=${2:?usage: make-seeds.sh <build dir> <corpus dir>}
rm -rf "$corpus/seeds"
# In the fuzz build the writer is instrumented too; what the encoders' libraries keep is no finding.
export ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0
export QT_QPA_PLATFORM=offscreen
"$build/fuzz/plenoria_fuzz_seeds" "$corpus/seeds"
