#!/bin/sh
# Prints the architecture of the Windows programs that this host runs under
# Wine and so tests: i686 where the 32-bit Wine loader runs natively,
# x86_64 (a 64-bit Wine in a 64-bit prefix) everywhere else, emulation
# included (tools/i386-support.sh). QUILLON_WIN64=1 chooses x86_64 on any
# host. With -v, one line on stderr says which way is taken and why.
support=$("$(dirname "$0")/i386-support.sh")
why=
if [ "${QUILLON_WIN64:-}" = 1 ]; then
    arch=x86_64 why="QUILLON_WIN64 is set"
elif [ "$support" = native ]; then
    arch=i686
elif [ "$support" = emulated ]; then
    arch=x86_64 why="32-bit programs run here only under emulation"
else
    arch=x86_64 why="this host runs no 32-bit program"
fi
if [ "${1:-}" = -v ]; then
    if [ "$arch" = i686 ]; then
        echo "Windows tests: the i686 build under 32-bit Wine" >&2
    else
        echo "Windows tests: the x86_64 build under 64-bit Wine ($why)" >&2
    fi
fi
echo "$arch"
