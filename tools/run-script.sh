#!/bin/sh
# Runs an end-to-end script with its output going through a file, so that
# Wine processes it starts and that outlive it (the desktop, the shell's
# folder windows) do not hold the test runner's pipe open.
: "${BUILD_DIR:?BUILD_DIR not set}"
log=$(mktemp "$BUILD_DIR/e2e-log.XXXXXX")
bash "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
exit $status
