#!/bin/sh
# Builds Plenoria with its tests and runs every test, installing first what building and testing
# need. make comes with the build tools, so where it is missing the install script brings them.
set -eu
cd "$(dirname "$0")"
command -v make >/dev/null || ./scripts/install-deps.sh test
exec make test "$@"
