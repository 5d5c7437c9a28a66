#!/bin/sh
# make bench: prints the sizes of the shipped programs and the editor's
# start time, the speed of a full repaint against bare text output, and the
# editor's resident memory with a small and with the largest file.
# Runs inside tools/wine-session.sh (Wine ready, the folders named).
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/wine-env.sh"
. "$BUILD_DIR/ids.sh"

tmp=$(mktemp -d "$BUILD_DIR/bench.XXXXXX")
editor=
cleanup() {
    [ -n "$editor" ] && kill "$editor" 2>/dev/null
    [ -z "$XVFB_PID" ] || wineserver -k >/dev/null 2>&1
    stop_display
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# A 1600 x 1200 view needs a screen larger than that: otherwise Wine clips
# the drawing to the screen. Use a display of our own for the measurements.
dims=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ {print $2}')
w=${dims%x*}
h=${dims#*x}
if [ -z "$dims" ] || [ "$w" -lt 1700 ] || [ "$h" -lt 1400 ]; then
    wineserver -k >/dev/null 2>&1
    start_display 1920x1600x24 || exit 1
    wine cmd /c exit >/dev/null 2>&1 </dev/null
fi

head -c 1048576 /dev/urandom > "$tmp/one-mb.bin"
truncate -s 2147483647 "$tmp/largest.bin"      # sparse: takes no room

# The figures below are those of the build this host runs: the shipped i686
# programs, or where it runs no 32-bit program the x86_64 build of the same
# sources, which is a different program. Sizes are given for what ships.
arch=$(wine_arch_name)
echo "== Programs"
for exe in quillon95.exe setup.exe; do
    printf '  %-14s %7d bytes (i686, shipped)\n' "$exe" "$(stat -c %s "$here/build/win/$exe")"
    [ "$arch" = i686 ] || printf '  %-14s %7d bytes (%s, measured below)\n' "$exe" "$(stat -c %s "$BUILD_DIR/$exe")" "$arch"
done
echo "  editor start, $arch build, process start to main window shown (ms):"
wine "$BUILD_DIR/bench/bench_start_time.exe" "$(winepath -w "$BUILD_DIR/quillon95.exe")" \
    "$(winepath -w "$tmp/one-mb.bin")" 10 || exit 1

echo "== Paint speed ($arch build)"
wine "$BUILD_DIR/bench/bench_paint.exe" "$(winepath -w "$tmp/one-mb.bin")" || exit 1

# Resident memory of the editor (kB) with FILE open and scrolled to its end.
rss_with() {
    wine "$BUILD_DIR/quillon95.exe" "$(winepath -w "$1")" >/dev/null 2>&1 &
    editor=$!
    title=$(wine "$BUILD_DIR/bench/bench_scroll_end.exe")
    # Measured once every window has painted what it shows at the end.
    wine "$BUILD_DIR/tests/qdrive.exe" painted QuillonWClass >/dev/null 2>&1
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$editor/status" 2>/dev/null)
    wine "$BUILD_DIR/tests/qdrive.exe" command QuillonWClass $IDM_EXIT >/dev/null 2>&1
    i=0
    while kill -0 "$editor" 2>/dev/null && [ $i -lt 100 ]; do i=$((i + 1)); sleep 0.1; done
    kill "$editor" 2>/dev/null
    editor=
    echo "${rss:-0}|$title"
}

echo "== Memory ($arch build)"
small=$(rss_with "$tmp/one-mb.bin")
large=$(rss_with "$tmp/largest.bin")
small_kb=${small%%|*}
large_kb=${large%%|*}
echo "  1 MB file, at its end:          ${small_kb} kB resident   (${small#*|})"
echo "  2 GiB - 1 byte file, at its end: ${large_kb} kB resident   (${large#*|})"
diff=$((large_kb - small_kb))
echo "  difference:                      ${diff} kB (goal: less than 1024 kB)"

echo "== Search"
"$here/bench/search.sh"
