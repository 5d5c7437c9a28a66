#!/bin/sh
# Prints the architecture of the Windows programs that this host can run
# under Wine and so tests: i686 where the 32-bit Wine loader runs natively,
# x86_64 (a 64-bit Wine in a 64-bit prefix) everywhere else. Judged by
# trying the loader; a 32-bit program that would only run under user-mode
# emulation (an i386 format registered in binfmt_misc) does not count.
# QUILLON_WIN64=1 chooses x86_64 on any host. With -v, one line on stderr
# says which way is taken and why.
say() { [ "$verbose" ] && echo "Windows tests: $*" >&2; }
verbose=; [ "${1:-}" = -v ] && verbose=1

# An enabled binfmt_misc entry for 32-bit x86 ELF programs (qemu-i386).
emulated() {
    grep -qx enabled /proc/sys/fs/binfmt_misc/status 2>/dev/null || return 1
    for entry in /proc/sys/fs/binfmt_misc/*; do
        grep -qx enabled "$entry" 2>/dev/null &&
            grep -q '^magic 7f454c4601010100000000000000000002000300' "$entry" && return 0
    done
    return 1
}

if [ -n "${QUILLON_WIN64:-}" ]; then
    say "x86_64 build under 64-bit Wine (QUILLON_WIN64 is set)"
    echo x86_64
elif emulated; then
    say "x86_64 build under 64-bit Wine (32-bit programs run here only under emulation)"
    echo x86_64
elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
    say "i686 build under 32-bit Wine"
    echo i686
else
    say "x86_64 build under 64-bit Wine (this host runs no 32-bit program: $(/usr/lib/wine/wine --version 2>&1 | head -n 1))"
    echo x86_64
fi
