#!/bin/sh
# After `make test`: what the last ctest run in the build folder $1 skipped,
# with the reasons: end-to-end scripts that said SKIP, and the cases that
# the in-process test programs skipped (ctest counts those with their
# program, which passes).
log="$1/Testing/Temporary/LastTest.log"
[ -f "$log" ] || exit 0
grep -h '^SKIP:' "$log" | sort -u
awk '/^\[ RUN      \] / { name = $4 }
     /: Skipped$/ { getline reason; print "SKIP: " name ": " reason }' "$log"
exit 0
