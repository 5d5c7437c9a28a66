#!/bin/sh
# Makes a build folder's Wine prefix ahead of its tests: a 64-bit prefix
# takes minutes to make, so `make` runs this beside the compiler. It needs
# no display. The Makefile names the folders and the Wine (tools/wine-env.sh).
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
ensure_prefix
