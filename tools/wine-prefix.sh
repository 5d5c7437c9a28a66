#!/bin/sh
# Makes a build folder's Wine prefix ahead of its tests (tools/wine-env.sh):
# a 64-bit prefix takes minutes to make, so `make` runs this beside the
# compiler. It needs no display.
#   BUILD_DIR=build/win64 tools/wine-prefix.sh
here=$(cd "$(dirname "$0")" && pwd)
: "${BUILD_DIR:?BUILD_DIR not set}"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)
export BUILD_DIR
DISPLAY=${DISPLAY:-none}        # so that wine-env.sh starts no Xvfb
. "$here/wine-env.sh"
