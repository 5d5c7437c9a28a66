#!/bin/sh
# Emulator for the cross build's tests: runs a Windows program under Wine in
# the build folder's prefix and passes its exit code on. The program's output
# goes through a file: Wine may start processes of its own (the desktop, a
# help window) that outlive the program, and they must not hold the test
# runner's pipe open.
here=$(cd "$(dirname "$0")" && pwd)
: "${BUILD_DIR:=$(pwd)}"
while [ ! -f "$BUILD_DIR/CMakeCache.txt" ] && [ "$BUILD_DIR" != / ]; do BUILD_DIR=$(dirname "$BUILD_DIR"); done
export BUILD_DIR
. "$here/wine-env.sh"
log=$(mktemp "$BUILD_DIR/run.XXXXXX")
wine "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
exit $status
