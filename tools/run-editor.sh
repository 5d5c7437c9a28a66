#!/bin/sh
# make run: the editor under Wine, on FILE when one is given, on the display
# DISPLAY names, else on an Xvfb of its own while the editor runs.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
trap 'stop_display wait' EXIT
trap 'exit 143' TERM INT HUP
ensure_display || exit 1
ensure_prefix
echo "Display $DISPLAY (the editor runs until its window is closed)"
if [ -n "$1" ]; then
    wine "$BUILD_DIR/quillon95.exe" "$(winepath -w "$1" 2>/dev/null)"
else
    wine "$BUILD_DIR/quillon95.exe"
fi
