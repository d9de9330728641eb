#!/bin/sh
# Runs a Windows program under wine in the given prefix (made on first use,
# with no install prompts and no debugger on a crash), then stops that
# prefix's server. Exits with the program's code: 5 after a crash, 3 after
# an abort.
# usage: wine-run.sh PREFIX win64|win32 PROGRAM [ARG...]
prefix=$1 arch=$2
shift 2
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
mkdir -p "$(dirname "$prefix")"
wine "$@"
rc=$?
wineserver -k 2>/dev/null
exit $rc
