#!/bin/sh
# Stops with a clear word when there is no desktop session to open Plenoria's window in. Without
# one Qt would stop only after the whole install and build, with advice to reinstall that does not
# help. A platform chosen by hand (QT_QPA_PLATFORM) is left to Qt.
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ] && exit 0
echo "Plenoria needs a desktop session: neither DISPLAY nor WAYLAND_DISPLAY is set, so there is no" >&2
echo "screen to open its window on. Run this from a terminal in your desktop." >&2
exit 1
