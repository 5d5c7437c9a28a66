#!/bin/sh
# make run: the editor under Wine, on FILE when one is given.
here=$(cd "$(dirname "$0")" && pwd)
: "${BUILD_DIR:?BUILD_DIR not set}"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)
export BUILD_DIR
. "$here/wine-env.sh"
echo "Display $DISPLAY (the editor runs until its window is closed)"
if [ -n "$1" ]; then
    exec wine "$BUILD_DIR/quillon95.exe" "$(winepath -w "$1" 2>/dev/null)"
else
    exec wine "$BUILD_DIR/quillon95.exe"
fi
