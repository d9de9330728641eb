#!/bin/sh
# Runs a Windows program under wine in the given prefix (made on first use,
# with no install prompts and no debugger on a crash), then stops that
# prefix's server. Exits with the program's code: 5 after a crash, 3 after
# an abort.
# 64-bit programs run through Debian's 64-bit loader called directly, with
# WINELOADER naming it for the processes wine starts: Debian's wine script
# picks the 32-bit loader, an i386 program, whenever it is installed, and a
# kernel that runs no 32-bit code cannot start it.
# usage: wine-run.sh PREFIX win64|win32 PROGRAM [ARG...]
prefix=$1 arch=$2
shift 2
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
mkdir -p "$(dirname "$prefix")"
case $arch in
  win64) loader=/usr/lib/wine/wine64 ;;
  win32) loader=/usr/lib/wine/wine ;;
  *) echo "wine-run.sh: no wine for '$arch'" >&2; exit 1 ;;
esac
[ -x "$loader" ] || { echo "wine-run.sh: $loader missing (Debian's wine packages, build/windows.packages)" >&2; exit 1; }
WINELOADER=$loader "$loader" "$@"
rc=$?
wineserver -k 2>/dev/null
exit $rc
