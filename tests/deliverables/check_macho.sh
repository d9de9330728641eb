#!/bin/sh
# Checks the binary contract of a macOS plug-in (.mexmaci64, .mexmaca64):
#   - a Mach-O bundle for the given processor and the two-level namespace,
#     with every symbol resolved at link time (NOUNDEFS);
#   - exports _mexFunction and nothing else;
#   - loads the host's libraries by @rpath (libmx, libmex, libmat and the
#     given LAPACK/BLAS ones) and the system C library, nothing more, and
#     carries no search path (LC_RPATH) or other path of the build machine;
#   - imports each call from its library: the mx calls from libmx (the
#     large-array ones under their _730 names), mexErrMsgTxt from libmex,
#     dgemm_ from libmwblas, dpotrf_/dpotrs_ from libmwlapack, and from the
#     C library only memcpy, sqrt and what the compiler and linker call;
#   - names the given oldest macOS version;
#   - its compact unwind table (__unwind_info) covers __text whole, and
#     every function in it (LC_FUNCTION_STARTS) with an unwind description
#     (a DWARF one only where there is an __eh_frame): a host that unwinds
#     through a plug-in (a crash report, an error raised in a callback)
#     finds each frame's caller;
#   - the same imports, each from the same library, as the plug-in of the
#     same kernel for another processor, where one is given and built (the
#     zero fill is ___bzero on x86-64, _bzero on arm64);
#   - on arm64, an ad-hoc code signature that matches the file
#     (check_signature.sh beside this file): macOS runs no unsigned arm64
#     code.
# usage: check_macho.sh FILE "HOST-LAPACK-LIBS" MIN-MACOS CPU [OTHER-FILE]
# CPU as otool names it: X86_64 or ARM64. The llvm tools come from $OTOOL,
# $NM and $OBJDUMP.
set -u
file=$1 lapack=$2 minos=$3 cpu=$4 other=${5:-}
name=$(basename "$file")
fail=0
say() { echo "$name: $*"; fail=1; }

[ -f "$file" ] || { echo "$file: missing"; exit 1; }

header=$("$OTOOL" -hv "$file" | tail -1)
echo "$header" | grep -q "^MH_MAGIC_64 *$cpu " || say "not Mach-O $cpu: $header"
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
    _memcpy|_sqrt|___bzero|_bzero|___stack_chk_fail|___stack_chk_guard|dyld_stub_binder) want=libSystem ;;
    *) want=none; say "imports $symbol from $lib, which no plug-in calls" ;;
  esac
  [ "$want" = none ] || [ "$lib" = "$want" ] || say "$symbol from $lib, not $want"
done <<END
$imports
END

# Imports as "symbol library" lines, the zero fill under one name.
importsOf() { "$NM" -m -u "$1" | awk '{print $3, $5}' | tr -d ')' | sed 's/^_bzero /___bzero /' | sort; }
if [ -n "$other" ]; then
  if [ -f "$other" ]; then
    mine=$(importsOf "$file") theirs=$(importsOf "$other")
    [ "$mine" = "$theirs" ] ||
      say "imports differ from $(basename "$other")'s: only here [$(echo "$mine" | grep -v -x -F "$theirs" | tr '\n' ';')], only there [$(echo "$theirs" | grep -v -x -F "$mine" | tr '\n' ';')]"
  else
    echo "$name: $(basename "$other") not built: imports not compared"
  fi
fi

# Unwind entries: each covers from its function offset to the next entry's;
# the last top-level index gives the end of the last one. An encoding's mode
# (bits 24-27) is 0 where a function has no description, and the DWARF mode
# (4 on x86-64, 3 on arm64) defers to __eh_frame.
unwind=$("$OBJDUMP" --macho --unwind-info "$file")
decimal() { while read -r a b; do printf '%d %d\n' "0x$a" "0x${b:-0}"; done; }
entries=$(echo "$unwind" |
  sed -n 's/^ *\[[0-9]*\]: function offset=0x\([0-9a-f]*\), encoding[^=]*=0x\([0-9a-f]*\)$/\1 \2/p' | decimal)
end=$(echo "$unwind" | sed -n 's/^ *\[[0-9]*\]: function offset=0x\([0-9a-f]*\), 2nd level page.*/\1/p' |
  tail -1 | decimal)
starts=$("$OBJDUMP" --macho --function-starts "$file" | tail -n +2 | decimal)
sections=$("$OBJDUMP" --macho --section-headers "$file")
text=$(echo "$sections" | awk '$2 == "__text" {print $4, $3}' | decimal)
eh=$(echo "$sections" | awk '$2 == "__eh_frame" {n++} END {print n + 0}')
case $cpu in X86_64) dwarf=4 ;; *) dwarf=3 ;; esac
if [ -z "$entries" ]; then
  say "no compact unwind entries"
else
  problems=$( { echo "$text"; echo "$end" | cut -d' ' -f1; echo "$entries" | sed 's/^/e /';
                echo "$starts" | cut -d' ' -f1 | sed 's/^/f /'; } |
    awk -v dwarf="$dwarf" -v eh="$eh" '
      BEGIN { n = 0; m = 0 }
      NR == 1 { tstart = $1; tend = $1 + $2; next }
      NR == 2 { uend = $1; next }
      $1 == "e" { off[n] = $2; enc[n] = $3; n++; next }
      $1 == "f" { f[m++] = $2 }
      END {
        if (off[0] != tstart || uend != tend)
          printf "unwind entries span %x..%x, __text %x..%x\n", off[0], uend, tstart, tend
        for (i = 0; i < m; i++) {
          k = -1
          for (j = 0; j < n; j++) if (off[j] <= f[i]) k = j
          mode = int(enc[k] / 16777216) % 16
          if (k < 0 || f[i] >= uend) printf "function at %x has no unwind entry\n", f[i]
          else if (mode == 0) printf "function at %x has no unwind description\n", f[i]
          else if (mode == dwarf && !eh) printf "function at %x defers to a missing __eh_frame\n", f[i]
        }
        if (m == 0) print "no function starts"
      }')
  [ -z "$problems" ] || say "$(echo "$problems" | tr '\n' ';')"
fi

if [ "$cpu" = ARM64 ]; then
  "$(dirname "$0")/check_signature.sh" "$file" || fail=1
fi

[ $fail = 0 ] && echo "$name: binary contract holds"
exit $fail
