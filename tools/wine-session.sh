#!/bin/sh
# Runs a command with Wine ready for it: the build folder's prefix, a display
# (an Xvfb of its own when DISPLAY names none) and a persistent Wine server,
# all stopped when the command ends, however it ends. The Makefile names the
# build folder, the source folder and the Wine (tools/wine-env.sh).
#   BUILD_DIR=... SOURCE_DIR=... WINEARCH=... tools/wine-session.sh COMMAND...
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
trap 'wineserver -k >/dev/null 2>&1; stop_display' EXIT
trap 'exit 143' TERM INT HUP
ensure_display || exit 1
ensure_prefix
wineserver -p 30 >/dev/null 2>&1 </dev/null
# Wine's own background processes start with the first program; start them
# here, so they do not hold the output pipes of the commands that follow.
timeout 300 wine cmd /c exit >/dev/null 2>&1 </dev/null
"$@"
