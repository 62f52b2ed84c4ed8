#!/bin/sh
# Runs a program in a virtual X server of its own: under-xvfb.sh XVFB_RUN PROGRAM [ARGS...].
# xvfb-run looks for a free display from its start number on; starting away from the usual 99
# keeps parallel runs on one machine from racing for the same display.
set -eu
xvfb_run=$1
shift
exec "$xvfb_run" -a -n $((200 + $$ % 500)) -s "-screen 0 1400x900x24" "$@"
