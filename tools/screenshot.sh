#!/bin/sh
# The pictures of the README, taken from the X display the editor runs on:
#   EDITOR_PNG  the editor showing a real file (a copy of its own program)
#               in the default format;
#   SEARCH_PNG  the Search dialog over it, with a text pattern typed in.
# Called by `make screenshot` inside tools/wine-session.sh.
#   tools/screenshot.sh [EDITOR_PNG [SEARCH_PNG]]
set -u
here=$(cd "$(dirname "$0")" && pwd)
editorOut=${1:-docs/screenshot.png}
searchOut=${2:-docs/search.png}
. "$here/wine-env.sh"
. "$BUILD_DIR/ids.sh"

qdrive() { wine "$BUILD_DIR/tests/qdrive.exe" "$@"; }
key='HKCU\Software\Ostrel\Quillon'

tmp=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT

# shoot OUT PATTERN: the box that holds every window whose name matches.
shoot() {
    boxes=$(xwininfo -root -tree | grep -E "\"($2)\":" |
            sed -n 's/.* \([0-9]*\)x\([0-9]*\)+\(-\{0,1\}[0-9]*\)+\(-\{0,1\}[0-9]*\) .*/\1 \2 \3 \4/p')
    geometry=$(echo "$boxes" | awk 'NF == 4 {
        if (n++ == 0 || $3 < l) l = $3; if (n == 1 || $4 < t) t = $4;
        if (n == 1 || $3 + $1 > r) r = $3 + $1; if (n == 1 || $4 + $2 > b) b = $4 + $2 }
        END { if (n) printf "%dx%d+%d+%d", r - l, b - t, l, t }')
    mkdir -p "$(dirname "$1")"
    if [ -n "$geometry" ]; then
        import -window root -crop "$geometry" +repage "$1"
    else
        import -window root "$1"
    fi
    echo "wrote $1 ($geometry)"
}

cp "$BUILD_DIR/quillon95.exe" "$tmp/sample.exe"

# The default format and search options, and a window of a fixed place and size.
wine reg delete "$key" /v Format /f >/dev/null 2>&1
wine reg delete "$key" /v default /f >/dev/null 2>&1
for v in "Left 0" "Top 0" "Width 680" "Height 520" "Showcmd 1"; do
    set -- $v
    wine reg add "$key" /v "$1" /d "$2" /f >/dev/null 2>&1
done

wine "$BUILD_DIR/quillon95.exe" "$(winepath -w "$tmp/sample.exe")" &
pid=$!
# The title carries the file once it is open; then every window paints
# before the picture is taken.
qdrive wait-title QuillonWClass 'sample.exe' 30000 >/dev/null || { echo "screenshot: no file in the title" >&2; exit 1; }
qdrive painted QuillonWClass >/dev/null
shoot "$editorOut" 'Quillon 95 .*'

# Search > Find, a text search for the words of the program's DOS stub.
qdrive command QuillonWClass $IDM_FIND >/dev/null
qdrive wait-box "Search for:" 10000 >/dev/null || { echo "screenshot: no Search dialog" >&2; exit 1; }
qdrive dialog-click "Search for:" $IDC_SRCH_TEXTMODE >/dev/null &&
    qdrive dialog-set "Search for:" $IDC_SRCH_TEXTFIELD "This program" >/dev/null ||
    { echo "screenshot: could not type the search text" >&2; exit 1; }
qdrive painted QuillonWClass >/dev/null
shoot "$searchOut" 'Quillon 95 .*|Search'
qdrive answer-box "Search for:" $IDC_SRCH_CANCEL >/dev/null

qdrive command QuillonWClass $IDM_EXIT >/dev/null
i=0
while kill -0 "$pid" 2>/dev/null && [ $i -lt 100 ]; do i=$((i + 1)); sleep 0.1; done
pid=
