#!/bin/sh
# Runs one fuzz target for a number of seconds, starting from its committed
# corpus (tests/fuzz/corpus/NAME, only read) and keeping what it finds in the
# build folder. Exits non-zero when the target crashed or a sanitizer fired.
#   tools/run-fuzz.sh BINARY NAME SECONDS SOURCE_DIR WORK_DIR
binary=$1 name=$2 seconds=$3 source=$4 work=$5
mkdir -p "$work/corpus/$name" "$work/artifacts/$name"
seeds="$source/tests/fuzz/corpus/$name"
[ -d "$seeds" ] || seeds=
exec "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/$name/" \
    "$work/corpus/$name" $seeds
