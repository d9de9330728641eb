#!/bin/sh
# Checks the binary contract of a macOS plug-in (.mexmaci64):
#   - a Mach-O x86-64 bundle for the two-level namespace, with every symbol
#     resolved at link time (NOUNDEFS);
#   - exports _mexFunction and nothing else;
#   - loads the host's libraries by @rpath (libmx, libmex, libmat and the
#     given LAPACK/BLAS ones) and the system C library, nothing more, and
#     carries no search path (LC_RPATH) or other path of the build machine;
#   - imports each call from its library: the mx calls from libmx (the
#     large-array ones under their _730 names), mexErrMsgTxt from libmex,
#     dgemm_ from libmwblas, dpotrf_/dpotrs_ from libmwlapack, and from the
#     C library only memcpy, sqrt and what the compiler and linker call;
#   - names the given oldest macOS version.
# usage: check_macho.sh FILE "HOST-LAPACK-LIBS" MIN-MACOS
# The llvm tools come from $OTOOL, $NM and $OBJDUMP.
set -u
file=$1 lapack=$2 minos=$3
name=$(basename "$file")
fail=0
say() { echo "$name: $*"; fail=1; }

[ -f "$file" ] || { echo "$file: missing"; exit 1; }

header=$("$OTOOL" -hv "$file" | tail -1)
echo "$header" | grep -q '^MH_MAGIC_64 *X86_64 ' || say "not Mach-O x86-64: $header"
echo "$header" | grep -q ' BUNDLE ' || say "not a bundle: $header"
for flag in NOUNDEFS TWOLEVEL; do
  echo "$header " | grep -q " $flag " || say "no flag $flag: $header"
done

exports=$("$OBJDUMP" --macho --exports-trie "$file" | awk '/^0x/ {print $2}' | tr '\n' ' ')
[ "$exports" = "_mexFunction " ] || say "exports [$exports], expected [_mexFunction]"

loads=$("$OTOOL" -L "$file" | tail -n +2 | awk '{print $1}' | sort)
want=$(for lib in libmx.dylib libmex.dylib libmat.dylib $lapack; do echo "@rpath/$lib"; done
       echo /usr/lib/libSystem.B.dylib)
want=$(echo "$want" | sort)
[ "$loads" = "$want" ] || say "loads [$(echo $loads)], expected [$(echo $want)]"
commands=$("$OTOOL" -l "$file")
echo "$commands" | grep -q 'cmd LC_RPATH' && say "carries a library search path"
strings -a "$file" | grep -v -x /usr/lib/libSystem.B.dylib | grep -q -E '(^|[^@A-Za-z])/[A-Za-z0-9._-]+/' &&
  say "carries a path: $(strings -a "$file" | grep -v -x /usr/lib/libSystem.B.dylib | grep -E '/[A-Za-z0-9._-]+/' | head -1)"

version=$(echo "$commands" | awk '/cmd LC_VERSION_MIN_MACOSX/ {v = 1} v && $1 == "version" {print $2; exit}
                                  /cmd LC_BUILD_VERSION/ {b = 1} b && $1 == "minos" {print $2; exit}')
[ "$version" = "$minos" ] || say "oldest macOS [$version], expected [$minos]"

imports=$("$NM" -m -u "$file" | awk '{print $3, $5}' | tr -d ')')
[ -n "$imports" ] || say "imports nothing"
while read -r symbol lib; do
  case "$symbol" in
    _mxCreateDoubleMatrix|_mxCreateCellMatrix|_mxSetCell|_mxGetCell|_mxGetIr|_mxGetJc|_mxGetNzmax)
      want=none; say "$symbol is bound by its small-array name, not ${symbol}_730" ;;
    _mx*) want=libmx ;;
    _mexErrMsgTxt) want=libmex ;;
    _dgemm_) want=libmwblas ;;
    _dpotrf_|_dpotrs_) want=libmwlapack ;;
    _memcpy|_sqrt|___bzero|___stack_chk_fail|___stack_chk_guard|dyld_stub_binder) want=libSystem ;;
    *) want=none; say "imports $symbol from $lib, which no plug-in calls" ;;
  esac
  [ "$want" = none ] || [ "$lib" = "$want" ] || say "$symbol from $lib, not $want"
done <<END
$imports
END

[ $fail = 0 ] && echo "$name: binary contract holds"
exit $fail
