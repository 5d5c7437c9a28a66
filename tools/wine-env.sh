# Sourced by the scripts that run Windows programs: a Wine prefix of the
# build folder's own, quiet Wine, and a display (Xvfb) when none is set.
# BUILD_DIR must name the build folder.
: "${BUILD_DIR:?BUILD_DIR not set}"
export WINEPREFIX="$BUILD_DIR/wineprefix"
# A folder of 64-bit programs runs them under the 64-bit Wine, in a 64-bit
# prefix; its own wine64/ (copied there by cmake from tools/wine64) gives
# the `wine` and `winepath` that lead there.
export WINEARCH="$(cat "$BUILD_DIR/wine-arch" 2>/dev/null || echo win32)"
if [ "$WINEARCH" = win64 ]; then
    export PATH="$BUILD_DIR/wine64:$PATH"
fi
# The architecture of the programs run, for figures that depend on it.
wine_arch_name() { if [ "$WINEARCH" = win64 ]; then echo x86_64; else echo i686; fi; }
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# start_xvfb: a new Xvfb display of 1280 x 1024 on a number the server
# chooses itself, free at that moment; sets XVFB_NUMBER and XVFB_PID.
start_xvfb() {
    number_file=$(mktemp)
    Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$number_file" >/dev/null 2>&1 &
    XVFB_PID=$!
    i=0
    until [ -s "$number_file" ]; do
        i=$((i + 1)); [ $i -gt 200 ] && { echo "wine-env: Xvfb did not start" >&2; break; }
        sleep 0.05
    done
    XVFB_NUMBER=$(cat "$number_file")
    rm -f "$number_file"
}

if [ -z "$DISPLAY" ]; then
    # One Xvfb per build folder, started on first use and kept for later runs.
    disp_file="$BUILD_DIR/xvfb.display"
    if [ -f "$disp_file" ] && xdpyinfo -display ":$(cat "$disp_file")" >/dev/null 2>&1; then
        export DISPLAY=":$(cat "$disp_file")"
    else
        start_xvfb
        echo "$XVFB_NUMBER" > "$disp_file"
        export DISPLAY=":$XVFB_NUMBER"
    fi
fi

# new_prefix DIR: a Wine prefix that has never run a program of ours, in
# DIR. It is a copy of the build folder's pristine prefix, which wineboot
# makes once: that takes seconds in a 32-bit prefix, minutes in a 64-bit one
# (more where 32-bit programs run under emulation). No server may be
# running for DIR.
new_prefix() {
    pristine="$BUILD_DIR/wineprefix-pristine"
    # Tests that run side by side may ask at once: one makes it, under a lock.
    (
        flock 9
        if [ ! -f "$pristine/made" ]; then
            rm -rf "$pristine"
            mkdir -p "$pristine"
            WINEPREFIX="$pristine" wine wineboot -i >/dev/null 2>&1 </dev/null
            # Without a window manager, hiding a managed window waits two
            # seconds for a state change that never comes: let Wine manage
            # the windows.
            WINEPREFIX="$pristine" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
                >/dev/null 2>&1 </dev/null
            WINEPREFIX="$pristine" wineserver -w
            [ -f "$pristine/system.reg" ] && date > "$pristine/made"
        fi
    ) 9>"$BUILD_DIR/wineprefix-pristine.lock"
    rm -rf "$1"
    cp -a "$pristine" "$1"
}

[ -f "$WINEPREFIX/system.reg" ] || new_prefix "$WINEPREFIX"
