#!/bin/sh
# Search figures: the matcher's CPU cost per window (native, optimised) and
# a whole search through a 64 MiB file in the real editor under Wine.
# Runs inside tools/wine-session.sh (Wine ready, the folders named).
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/wine-env.sh"
native="$here/build/native"
cmake --build "$native" --target search_bench >/dev/null
cmake --build "$BUILD_DIR" --target search_wine_bench >/dev/null
"$native/bench/search_bench"
echo
echo "In the editor, $(wine_arch_name) build under Wine:"
wine "$BUILD_DIR/bench/search_wine_bench.exe" | tr -d '\r'
