#!/bin/sh
# Builds and starts Plenoria, installing first what building and running need. make comes with the
# build tools, so where it is missing the install script brings them before make takes over.
# Without a desktop session it stops before installing anything.
set -eu
cd "$(dirname "$0")"
./scripts/require-display.sh
command -v make >/dev/null || ./scripts/install-deps.sh run
exec make run "$@"
