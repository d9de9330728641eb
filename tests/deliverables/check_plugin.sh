#!/bin/sh
# Checks the binary contract of a Linux plug-in (.mexa64 or .mexglx):
#   - an ELF shared object of the file's platform (x86-64 or i386);
#   - exports mexFunction@@MEX, and on i386 mexVersion@@MEX, and nothing else;
#   - defines the base version named after the file, and the node MEX;
#   - binds the large-array host calls at v7.3 of libmx;
#   - needs the host's libraries (libmx, libmex, libmat and the given
#     LAPACK/BLAS ones) and the C library, nothing more, and carries no
#     library search path nor any other path of the build machine;
#   - has unwind tables covering every function, found by the unwinder
#     through PT_GNU_EH_FRAME;
#   - asks no newer glibc than it does now;
#   - mexVersion, called, returns "MATLAB R14 native" on i386 (none on x86-64).
# usage: check_plugin.sh FILE "HOST-LAPACK-LIBS" MEXVERSION-PROGRAM [EMULATOR...]
# (EMULATOR: the command that runs MEXVERSION-PROGRAM, if any)
set -u
file=$1 lapack=$2 mexversion=$3
shift 3
name=$(basename "$file")
fail=0
say() { echo "$name: $*"; fail=1; }

[ -f "$file" ] || { echo "$file: missing"; exit 1; }

case "$name" in
  *.mexa64) class=ELF64 machine="X86-64" want_exports="mexFunction@@MEX" want_version=none glibc=2.14 ;;
  *.mexglx) class=ELF32 machine="Intel 80386" want_exports="mexFunction@@MEX mexVersion@@MEX"
            want_version="MATLAB R14 native" glibc=2.1.3 ;;
  *) echo "$name: not a Linux plug-in name"; exit 1 ;;
esac

header=$(readelf -h -W "$file")
echo "$header" | grep -q "Class: *$class" || say "not $class"
echo "$header" | grep -q "Machine: .*$machine" || say "not for $machine"
echo "$header" | grep -q "Type: *DYN" || say "not a shared object"

exports=$(readelf --dyn-syms -W "$file" | awk '$7 != "UND" && $7 != "ABS" && $5 != "LOCAL" && $8 != "" && NR > 3 {print $8}' | sort | tr '\n' ' ')
want=$(echo $want_exports | tr ' ' '\n' | sort | tr '\n' ' ')
[ "$exports" = "$want" ] || say "exports [$exports], expected [$want]"

versions=$(readelf -V -W "$file")
echo "$versions" | grep -q "Flags: BASE.*Name: $name\$" || say "no base version named $name"
echo "$versions" | grep -q "Name: MEX\$" || say "no version node MEX"

imports=$(readelf --dyn-syms -W "$file" | awk '$7 == "UND" {print $8}')
for call in $(echo "$imports" | grep -o -E '^mx(CreateDoubleMatrix|CreateCellMatrix|SetCell|GetCell|GetIr|GetJc|GetNzmax)(@[^ ]*)?$'); do
  case "$call" in
    *@v7.3*) ;;
    *) say "host call bound as $call, not at v7.3" ;;
  esac
done

# The needed libraries, exactly: libm only where sqrt or the like is used.
needed=$(readelf -d -W "$file" | awk '/NEEDED/ {print $5}' | tr -d '[]' | sort)
want=$(echo "libmx.so libmex.so libmat.so $lapack libc.so.6" | tr ' ' '\n' | sed '/^$/d' | sort)
got=$(echo "$needed" | grep -v -x 'libm.so.6')
[ "$got" = "$want" ] || say "needs [$(echo $needed)], expected [$(echo $want)] (and maybe libm.so.6)"
readelf -d -W "$file" | grep -q -E '\((RPATH|RUNPATH)\)' && say "carries a library search path"
path=$(strings -a "$file" | grep -E -m1 '/[A-Za-z0-9_.+-]+/')
[ -n "$path" ] && say "carries a path: $path"

# Symbol versions of the C library: none newer than the plug-ins ask today,
# so that they load on the same range of older systems.
for v in $(echo "$imports" | grep -o 'GLIBC_[0-9.]*' | sort -u); do
  newest=$(printf '%s\n%s\n' "GLIBC_$glibc" "$v" | sort -V | tail -1)
  [ "$newest" = "GLIBC_$glibc" ] || say "asks for $v, newer than GLIBC_$glibc"
done
echo "$imports" | grep -q -E '@(GLIBCXX|CXXABI|GCC)_' && say "uses the C++ or GCC runtime"

# A host may end a failed call by a C++ exception unwound through the
# plug-in's frames: its unwinder finds the tables through PT_GNU_EH_FRAME
# and needs an entry for every function that can be on the stack then. The
# start-up functions of the C runtime (no size in the symbol table) and the
# i386 thunks that read the program counter (leaves the linker may take
# from the C runtime's objects, without entries) never are.
readelf -l -W "$file" | grep -q GNU_EH_FRAME || say "has no PT_GNU_EH_FRAME"
bare=$( { readelf --debug-dump=frames "$file" 2>/dev/null |
          awk '/ FDE / {s = $NF; sub(/^pc=/, "", s); split(s, r, /\.\./); print "fde", r[1], r[2]}'
          readelf -s -W "$file" |
          awk '$4 == "FUNC" && $7 != "UND" && $3 != "0" && $8 !~ /^__x86\.get_pc_thunk\./ {
                 n = $8; sub(/@.*/, "", n); print "fn", $2, n}'
        } | awk '$1 == "fde" {lo[++k] = $2; hi[k] = $3; next}
                 {for (i = 1; i <= k; i++) if ($2 >= lo[i] && $2 < hi[i]) next; print $3}' | sort -u)
[ -n "$bare" ] && say "functions without unwind tables: $(echo $bare)"

text=$("$@" "$mexversion" "$file") || say "cannot be loaded: $text"
[ "$text" = "$want_version" ] || say "mexVersion gives [$text], expected [$want_version]"

[ $fail = 0 ] && echo "$name: binary contract holds"
exit $fail
