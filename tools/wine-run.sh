#!/bin/sh
# Emulator for the cross build's tests: runs a Windows program under Wine in
# the build folder's prefix and passes its exit code on.
here=$(cd "$(dirname "$0")" && pwd)
: "${BUILD_DIR:=$(pwd)}"
while [ ! -f "$BUILD_DIR/CMakeCache.txt" ] && [ "$BUILD_DIR" != / ]; do BUILD_DIR=$(dirname "$BUILD_DIR"); done
export BUILD_DIR
. "$here/wine-env.sh"
exec wine "$@"
