#!/bin/sh
# Installs, from Debian's packages, whatever the build and the tests need and
# is not there yet. Safe to run again: it does nothing when all is in place.
set -e

need=""
have() { command -v "$1" >/dev/null 2>&1; }
pkg_missing() { ! dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have cmake                       || need="$need cmake"
have make                        || need="$need make"
have g++                         || need="$need g++"
have i686-w64-mingw32-g++-posix  || need="$need g++-mingw-w64-i686 gcc-mingw-w64-i686"
have wine                        || need="$need wine"
pkg_missing wine32:i386          && need="$need wine32:i386"
have Xvfb                        || need="$need xvfb"
have xdotool                     || need="$need xdotool"
have import                      || need="$need imagemagick"
have xwininfo                    || need="$need x11-utils"
[ -d /usr/src/googletest ]       || need="$need googletest"
have clang++                     || need="$need clang"
have zip                         || need="$need zip"
have unzip                       || need="$need unzip"
have objdump                     || need="$need binutils"
pkg_missing libclang-rt-14-dev   && need="$need libclang-rt-14-dev"

install_missing() {
    [ -z "$need" ] && return 0
    if [ "$(id -u)" != 0 ]; then
        echo "bootstrap: missing:$need (run as root to install)" >&2
        exit 1
    fi
    echo "bootstrap: installing$need"
    export DEBIAN_FRONTEND=noninteractive
    case "$need" in *i386*) dpkg --add-architecture i386; updated= ;; esac
    if [ -z "$updated" ]; then
        # A mirror caught in the middle of a sync serves an index that
        # does not match its release file; apt then leaves it out and goes
        # on with the others.
        apt-get update -qq || index_missing=yes
        updated=yes
    fi
    # shellcheck disable=SC2086
    if ! apt-get install -y -qq --no-install-recommends $need >/dev/null; then
        # Without one architecture's index of the updates, the packages
        # that must have one version on both architectures (wine32's
        # libraries) cannot follow the newer one: take them all from the
        # release itself.
        [ -n "$index_missing" ] || exit 1
        release=$(. /etc/os-release && echo "$VERSION_CODENAME")
        echo "bootstrap: an index could not be fetched; installing from $release itself"
        # shellcheck disable=SC2086
        apt-get install -y -qq --no-install-recommends -t "$release" $need >/dev/null
    fi
    need=""
}
updated=
index_missing=
install_missing

tools=$(dirname "$0")

# Where the 32-bit Wine cannot run, the tests take the x86_64 build of the
# same sources under the 64-bit Wine (tools/windows-arch.sh).
if [ "$("$tools/windows-arch.sh")" = x86_64 ]; then
    have x86_64-w64-mingw32-g++-posix || need="$need g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64"
    [ -x /usr/lib/wine/wine64 ]       || need="$need wine64"
    install_missing
fi

# The shipped i686 programs are run by one release check on every host.
# Where the kernel runs no 32-bit program, the 32-bit Wine runs under
# user-mode emulation: qemu-i386 registered in binfmt_misc, as root, and
# only when no entry for such programs is there already.
if [ "$("$tools/i386-support.sh")" = none ] && [ -z "$("$tools/i386-support.sh" -r)" ]; then
    if [ "$(id -u)" != 0 ]; then
        echo "bootstrap: 32-bit programs do not run here, and only root can set up their emulation: the release check of the shipped files will be skipped" >&2
    else
        have qemu-i386-static || need="$need qemu-user-static"
        install_missing
        binfmt=/proc/sys/fs/binfmt_misc
        [ -e $binfmt/register ] || mount -t binfmt_misc binfmt_misc $binfmt 2>/dev/null || true
        if printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
               > $binfmt/register 2>/dev/null; then
            echo "bootstrap: 32-bit programs run here under user-mode emulation (qemu-i386 registered in $binfmt)"
        else
            echo "bootstrap: could not register qemu-i386 in $binfmt: the release check of the shipped files will be skipped" >&2
        fi
    fi
fi
