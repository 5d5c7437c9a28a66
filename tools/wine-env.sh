# Sourced by the scripts that run Windows programs; sourcing it only sets
# variables and defines functions. The caller names the build folder
# (BUILD_DIR), the source folder (SOURCE_DIR) and the Wine that the build
# folder's programs need (WINEARCH: win32 or win64); cmake gives them to
# each test, the Makefile to each entry point. A script that needs a display
# or the build folder's prefix asks for it (ensure_display, ensure_prefix)
# and stops what it started (stop_display).
: "${BUILD_DIR:?BUILD_DIR not set}" "${SOURCE_DIR:?SOURCE_DIR not set}" "${WINEARCH:?WINEARCH not set}"
export BUILD_DIR SOURCE_DIR WINEARCH
export WINEPREFIX="$BUILD_DIR/wineprefix"
# 64-bit programs run under the 64-bit Wine, in a 64-bit prefix:
# tools/wine64 gives the `wine` and `winepath` that lead there.
if [ "$WINEARCH" = win64 ]; then
    export PATH="$SOURCE_DIR/tools/wine64:$PATH"
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
XVFB_PID=

# The architecture of the programs run, for figures that depend on it.
wine_arch_name() { if [ "$WINEARCH" = win64 ]; then echo x86_64; else echo i686; fi; }

# start_display [SCREEN]: a new Xvfb display (1280x1024x24 unless SCREEN
# says otherwise) on a number the server chooses itself, free at that
# moment, made DISPLAY; stop_display stops it. Fails when none starts.
start_display() {
    number_file=$(mktemp)
    Xvfb -displayfd 9 -screen 0 "${1:-1280x1024x24}" -nolisten tcp 9>"$number_file" >/dev/null 2>&1 &
    XVFB_PID=$!
    i=0
    until [ -s "$number_file" ]; do
        i=$((i + 1))
        if [ $i -gt 200 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
            rm -f "$number_file"
            echo "wine-env: Xvfb did not start" >&2
            return 1
        fi
        sleep 0.05
    done
    export DISPLAY=":$(cat "$number_file")"
    rm -f "$number_file"
}

# ensure_display: a display of this script's own (start_display) when
# DISPLAY names none.
ensure_display() { [ -n "${DISPLAY:-}" ] || start_display; }

# stop_display [wait]: the Xvfb that start_display started, if any. With
# wait, once the prefix's Wine server has ended, and with it the desktop and
# the other programs it started on that display (a server that does not end
# within a minute is ended): for a script whose programs alone used it.
stop_display() {
    [ -n "$XVFB_PID" ] || return 0
    [ "${1:-}" != wait ] || timeout 60 wineserver -w >/dev/null 2>&1 || wineserver -k >/dev/null 2>&1
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

# new_prefix DIR [--if-missing]: a Wine prefix that has never run a program
# of ours, in DIR (left as it is with --if-missing when DIR holds one). It
# is a copy of the build folder's pristine prefix, which wineboot makes
# once, without a display: that takes seconds in a 32-bit prefix, minutes
# in a 64-bit one, more where 32-bit programs run under emulation
# (tools/wine-prefix.sh makes it while the build compiles). No server may
# be running for DIR.
new_prefix() {
    if [ "${2:-}" = --if-missing ] && [ -f "$1/system.reg" ]; then return 0; fi
    pristine="$BUILD_DIR/wineprefix-pristine"
    # A 64-bit prefix has a 32-bit side only where 32-bit programs ran while
    # it was made: one made otherwise is made again.
    support=$("$SOURCE_DIR/tools/i386-support.sh" 2>/dev/null)
    # Tests that run side by side, and the build, may ask at once: one
    # makes the prefix, under a lock, and each copy is whole once seen.
    (
        flock 9
        if [ "${2:-}" = --if-missing ] && [ -f "$1/system.reg" ]; then exit 0; fi    # made meanwhile
        if [ "$(cat "$pristine/made" 2>/dev/null)" != "32-bit programs: $support" ]; then
            rm -rf "$pristine"
            mkdir -p "$pristine"
            WINEPREFIX="$pristine" DISPLAY= timeout 900 wine wineboot -i >/dev/null 2>&1 </dev/null
            # Without a window manager, hiding a managed window waits two
            # seconds for a state change that never comes: let Wine manage
            # the windows.
            WINEPREFIX="$pristine" DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
                >/dev/null 2>&1 </dev/null
            WINEPREFIX="$pristine" timeout 300 wineserver -w
            [ -f "$pristine/system.reg" ] && echo "32-bit programs: $support" > "$pristine/made"
        fi
        rm -rf "$1" "$1.copy"
        cp -a "$pristine" "$1.copy" && mv "$1.copy" "$1"
    ) 9>"$BUILD_DIR/wineprefix-pristine.lock"
}

# ensure_prefix: the build folder's own prefix, made when missing.
ensure_prefix() { new_prefix "$WINEPREFIX" --if-missing; }
