#!/bin/sh
# Runs a command with Wine ready for it: the build folder's prefix, a display
# (an Xvfb of our own when none is set) and a persistent Wine server, and
# tears down what it started when the command ends.
#   BUILD_DIR=build/win tools/wine-session.sh COMMAND...
here=$(cd "$(dirname "$0")" && pwd)
: "${BUILD_DIR:?BUILD_DIR not set}"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)
export BUILD_DIR

started_display=
if [ -z "$DISPLAY" ]; then
    rm -f "$BUILD_DIR/xvfb.display"
    started_display=yes
fi
. "$here/wine-env.sh"
wineserver -p 30 >/dev/null 2>&1 </dev/null
# Wine's own background processes start with the first program; start them
# here, so they do not hold the output pipes of the commands that follow.
wine cmd /c exit >/dev/null 2>&1 </dev/null

"$@"
status=$?

wineserver -k >/dev/null 2>&1
if [ -n "$started_display" ] && [ -f "$BUILD_DIR/xvfb.display" ]; then
    kill "$(cat "$BUILD_DIR/xvfb.pid" 2>/dev/null)" 2>/dev/null
    rm -f "$BUILD_DIR/xvfb.display" "$BUILD_DIR/xvfb.pid"
fi
exit $status
