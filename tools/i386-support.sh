#!/bin/sh
# How this host runs 32-bit x86 programs, such as the 32-bit Wine loader:
#   native    the kernel runs them;
#   emulated  an enabled binfmt_misc entry for 32-bit x86 ELF programs
#             (qemu-i386) takes them first, so they run, far slower, under
#             user-mode emulation;
#   none      they do not run ("Exec format error").
# Judged by trying the loader. With -r, prints only whether such an entry
# is registered and enabled: "registered" or nothing.
registered() {
    grep -qx enabled /proc/sys/fs/binfmt_misc/status 2>/dev/null || return 1
    for entry in /proc/sys/fs/binfmt_misc/*; do
        grep -qx enabled "$entry" 2>/dev/null &&
            grep -q '^magic 7f454c4601010100000000000000000002000300' "$entry" && return 0
    done
    return 1
}

if [ "${1:-}" = -r ]; then
    registered && echo registered
    exit 0
fi
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo none
elif registered; then
    echo emulated
else
    echo native
fi
