#!/bin/sh
# docs/screenshot.png: the editor showing a real file (a copy of its own
# program) in the default format, taken from the X display it runs on.
# Called by `make screenshot` inside tools/wine-session.sh.
set -u
here=$(cd "$(dirname "$0")" && pwd)
: "${BUILD_DIR:?BUILD_DIR not set}"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)
out=${1:-docs/screenshot.png}
. "$here/wine-env.sh"

qdrive() { wine "$BUILD_DIR/tests/qdrive.exe" "$@"; }
key='HKCU\Software\Ostrel\Quillon'

tmp=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT

cp "$BUILD_DIR/quillon95.exe" "$tmp/sample.exe"

# The default format, and a window of a fixed place and size.
wine reg delete "$key" /v Format /f >/dev/null 2>&1
for v in "Left 0" "Top 0" "Width 680" "Height 520" "Showcmd 1"; do
    set -- $v
    wine reg add "$key" /v "$1" /d "$2" /f >/dev/null 2>&1
done

wine "$BUILD_DIR/quillon95.exe" "$(winepath -w "$tmp/sample.exe")" &
pid=$!
qdrive wait-window QuillonWClass 30000 >/dev/null || { echo "screenshot: no window" >&2; exit 1; }
# Wait until the title carries the file (the first paint has measured and drawn).
i=0
until qdrive title QuillonWClass | grep -q 'sample.exe'; do
    i=$((i + 1)); [ $i -gt 100 ] && { echo "screenshot: no file in the title" >&2; exit 1; }
    sleep 0.1
done
sleep 1

# The editor's window on the X display: its place and size.
geometry=$(xwininfo -root -tree | grep 'Quillon 95' | head -1 |
           sed -n 's/.* \([0-9]*x[0-9]*+-\{0,1\}[0-9]*+-\{0,1\}[0-9]*\) .*/\1/p')
mkdir -p "$(dirname "$out")"
if [ -n "$geometry" ]; then
    import -window root -crop "$geometry" +repage "$out"
else
    import -window root "$out"
fi
qdrive command QuillonWClass 110 >/dev/null
i=0
while kill -0 "$pid" 2>/dev/null && [ $i -lt 100 ]; do i=$((i + 1)); sleep 0.1; done
pid=
echo "wrote $out ($geometry)"
