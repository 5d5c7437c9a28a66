# Sourced by the scripts that run Windows programs: a Wine prefix of the
# build folder's own, quiet Wine, and a display (Xvfb) when none is set.
# BUILD_DIR must name the build folder.
: "${BUILD_DIR:?BUILD_DIR not set}"
export WINEPREFIX="$BUILD_DIR/wineprefix"
# The source folder, as cmake recorded it for the build folder.
tools_dir="$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$BUILD_DIR/CMakeCache.txt" 2>/dev/null)/tools"
# A folder of 64-bit programs runs them under the 64-bit Wine, in a 64-bit
# prefix: tools/wine64 gives the `wine` and `winepath` that lead there.
export WINEARCH="$(cat "$BUILD_DIR/wine-arch" 2>/dev/null || echo win32)"
if [ "$WINEARCH" = win64 ]; then
    export PATH="$tools_dir/wine64:$PATH"
fi
# The architecture of the programs run, for figures that depend on it.
wine_arch_name() { if [ "$WINEARCH" = win64 ]; then echo x86_64; else echo i686; fi; }
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# start_xvfb [SCREEN]: a new Xvfb display (1280x1024x24 unless SCREEN says
# otherwise) on a number the server chooses itself, free at that moment;
# sets XVFB_NUMBER and XVFB_PID. The caller ends when none starts.
start_xvfb() {
    number_file=$(mktemp)
    Xvfb -displayfd 9 -screen 0 "${1:-1280x1024x24}" -nolisten tcp 9>"$number_file" >/dev/null 2>&1 &
    XVFB_PID=$!
    i=0
    until [ -s "$number_file" ]; do
        i=$((i + 1))
        if [ $i -gt 200 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
            rm -f "$number_file"
            echo "wine-env: Xvfb did not start" >&2
            exit 1
        fi
        sleep 0.05
    done
    XVFB_NUMBER=$(cat "$number_file")
    rm -f "$number_file"
}

if [ -z "$DISPLAY" ]; then
    # One Xvfb per build folder, started on first use and kept for later
    # runs; tools/wine-session.sh stops the one it started.
    disp_file="$BUILD_DIR/xvfb.display"
    if [ -f "$disp_file" ] && xdpyinfo -display ":$(cat "$disp_file")" >/dev/null 2>&1; then
        export DISPLAY=":$(cat "$disp_file")"
    else
        start_xvfb
        echo "$XVFB_NUMBER" > "$disp_file"
        echo "$XVFB_PID" > "$BUILD_DIR/xvfb.pid"
        export DISPLAY=":$XVFB_NUMBER"
    fi
fi

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
    support=$("$tools_dir/i386-support.sh" 2>/dev/null)
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
            WINEPREFIX="$pristine" wineserver -w
            [ -f "$pristine/system.reg" ] && echo "32-bit programs: $support" > "$pristine/made"
        fi
        rm -rf "$1" "$1.copy"
        cp -a "$pristine" "$1.copy" && mv "$1.copy" "$1"
    ) 9>"$BUILD_DIR/wineprefix-pristine.lock"
}

new_prefix "$WINEPREFIX" --if-missing
