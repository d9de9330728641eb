#!/bin/sh
# Checks the binary contract of a Linux x86-64 plug-in:
#   - exports mexFunction@@MEX and no other symbol;
#   - defines the base version named after the file, and the node MEX;
#   - binds the large-array host calls at v7.3 of libmx;
#   - needs libmx, libmex and libmat, and LAPACK/BLAS only when it should.
# usage: check_plugin.sh FILE lapack|none
set -u
file=$1 lapack=$2
name=$(basename "$file")
fail=0
say() { echo "$name: $*"; fail=1; }

[ -f "$file" ] || { echo "$file: missing"; exit 1; }

exports=$(readelf --dyn-syms -W "$file" | awk '$7 != "UND" && $7 != "ABS" && $5 != "LOCAL" && $8 != "" && NR > 3 {print $8}')
[ "$exports" = "mexFunction@@MEX" ] || say "exports [$exports], expected only mexFunction@@MEX"

versions=$(readelf -V -W "$file")
echo "$versions" | grep -q "Flags: BASE.*Name: $name\$" || say "no base version named $name"
echo "$versions" | grep -q "Name: MEX\$" || say "no version node MEX"

imports=$(readelf --dyn-syms -W "$file" | awk '$7 == "UND" {print $8}')
for call in $(echo "$imports" | grep -o -E '^mx(CreateDoubleMatrix|CreateCellMatrix|SetCell|GetCell|GetIr|GetJc|GetNzmax)@[^ ]*'); do
  case "$call" in
    *@v7.3) ;;
    *) say "host call bound as $call, not at v7.3" ;;
  esac
done
for call in $(echo "$imports" | grep -o -E '^mx(CreateDoubleMatrix|CreateCellMatrix|SetCell|GetCell|GetIr|GetJc|GetNzmax)$'); do
  say "host call $call bound without a version"
done

needed=$(readelf -d -W "$file" | awk '/NEEDED/ {print $5}' | tr -d '[]')
for lib in libmx.so libmex.so libmat.so; do
  echo "$needed" | grep -qx "$lib" || say "does not need $lib"
done
if [ "$lapack" = lapack ]; then
  echo "$needed" | grep -q '^libopenblas64' || say "not linked against the 64-bit-integer LAPACK/BLAS"
else
  echo "$needed" | grep -q -E 'blas|lapack' && say "links LAPACK/BLAS, which it must not"
fi

[ $fail = 0 ] && echo "$name: binary contract holds"
exit $fail
