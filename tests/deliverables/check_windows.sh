#!/bin/sh
# Checks the binary contract of a Windows plug-in (.mexw64 or .mexw32) from
# what the mingw objdump -p reads in it:
#   - a DLL, PE32+ for .mexw64 and PE32 for .mexw32;
#   - exports mexFunction alone, undecorated, at ordinal 1, and its export
#     directory names the file;
#   - imports from exactly the given host DLLs: the `_730` names of the
#     large-array calls and the plain names of the others from libmx.dll,
#     mexErrMsgTxt from libmex.dll, dgemm from libmwblas.dll, dpotrf/dpotrs
#     from libmwlapack.dll, all undecorated;
#   - imports nothing else but Windows' own DLLs (no MinGW runtime DLL);
#   - carries no path of the build machine (nor of the machine that built
#     the static C runtime, which its debug sections name).
#   - holds no link time, and has the linker's fixed image base, not one
#     derived from the output's path (the same sources give the same file);
#     it is relocatable (DYNAMIC_BASE) all the same.
#   - on x86, has no function with cleanups or handlers (no personality
#     routine in its unwind tables): after one, unwinding would resume in
#     the plug-in's own copy of the unwinder, which knows no frames.
# usage: check_windows.sh FILE "HOST-DLLS" OBJDUMP
set -u
file=$1 hostdlls=$2 objdump=$3
name=$(basename "$file")
fail=0
say() { echo "$name: $*"; fail=1; }

[ -f "$file" ] || { echo "$file: missing"; exit 1; }
case "$name" in
  *.mexw64) format=pei-x86-64 magic="(PE32+)" base=0000000180000000 ;;
  *.mexw32) format=pei-i386 magic="(PE32)" base=10000000 ;;
  *) echo "$name: not a Windows plug-in name"; exit 1 ;;
esac

dump=$(TZ=UTC "$objdump" -p "$file") || { echo "$name: objdump cannot read it"; exit 1; }
echo "$dump" | grep -q "file format $format\$" || say "not $format"
echo "$dump" | grep -q "^Magic.*$magic" || say "not $magic"
echo "$dump" | sed -n '/^Characteristics/,/^$/p' | grep -q -x '	DLL' || say "not a DLL"

# The export directory: its name, one entry at ordinal 1, named mexFunction.
echo "$dump" | grep -q -E "^Name[[:space:]]+[0-9a-f]+ $name\$" || say "export directory does not name $name"
echo "$dump" | grep -q -E '^Ordinal Base[[:space:]]+1$' || say "ordinal base is not 1"
table=$(echo "$dump" | sed -n '/^Export Address Table -- /,/^$/p' | grep -E '^\s+\[')
[ "$(echo "$table" | wc -l)" = 1 ] && echo "$table" | grep -q '+base\[   1\]' ||
  say "export address table is not one entry at ordinal 1"
names=$(echo "$dump" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk 'NR > 1 && /\[/ {print $NF}')
[ "$names" = mexFunction ] || say "exports [$(echo $names)], expected [mexFunction]"

# Imports as "dll name" lines, the DLL names in lower case.
imports=$(echo "$dump" | awk '
  /^\tDLL Name: / { dll = tolower($3); print dll, "-"; next }
  /^\tvma:/ { next }
  /^\t[0-9a-f]+\t/ && dll != "" { print dll, $NF; next }
  /^$/ { }')
dlls=$(echo "$imports" | awk '{print $1}' | sort -u)
want=$(echo $hostdlls | tr ' ' '\n' | sort)
got=$(echo "$dlls" | grep -E '^lib(mx|mex|mat|mwlapack|mwblas)\.dll$')
[ "$got" = "$want" ] || say "imports from host DLLs [$(echo $got)], expected [$(echo $want)]"
for dll in $dlls; do
  case "$dll" in
    libmx.dll|libmex.dll|libmat.dll|libmwlapack.dll|libmwblas.dll|kernel32.dll|msvcrt.dll) ;;
    *) say "imports from $dll, neither the host's nor Windows' own" ;;
  esac
done
calls() { echo "$imports" | awk -v d="$1" '$1 == d && $2 != "-" {print $2}'; }
large='^mx(CreateDoubleMatrix|CreateCellMatrix|SetCell|GetCell|GetIr|GetJc|GetNzmax)'
for call in $(calls libmx.dll); do
  case "$call" in
    mx*_730) echo "$call" | grep -q -E "${large}_730\$" || say "imports $call, not a large-array call" ;;
    mx*) echo "$call" | grep -q -E "${large}\$" && say "imports $call, not ${call}_730" ;;
    *) say "imports $call from libmx.dll" ;;
  esac
  case "$call" in *[!A-Za-z0-9_]*) say "imports a decorated $call" ;; esac
done
only() {  # only DLL ALLOWED...: every import from DLL is one of ALLOWED
  dll=$1; shift
  for call in $(calls "$dll"); do
    echo " $* " | grep -q " $call " || say "imports $call from $dll"
  done
}
only libmex.dll mexErrMsgTxt
only libmwblas.dll dgemm
only libmwlapack.dll dpotrf dpotrs
only libmat.dll matOpen matClose

echo "$dump" | grep -q -E "^ImageBase[[:space:]]+$base\$" ||
  say "image base is not the fixed $base: $(echo "$dump" | grep -m1 '^ImageBase')"
echo "$dump" | sed -n '/^DllCharacteristics/,/^[A-Z]/p' | grep -q -w DYNAMIC_BASE ||
  say "not relocatable (no DYNAMIC_BASE)"
# The file header's time and the export directory's, both 0.
echo "$dump" | grep -q -E '^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970$' ||
  say "file header holds a link time: $(echo "$dump" | grep -m1 '^Time/Date')"
echo "$dump" | grep -q -E '^Time/Date stamp[[:space:]]+0+$' ||
  say "export directory holds a link time: $(echo "$dump" | grep -m1 '^Time/Date stamp')"

# The tables are .eh_frame (.eh_fram in a stripped file, which keeps only
# the first 8 letters of a name); a CIE naming a personality routine has
# augmentation "zPL...".
if [ "$format" = pei-i386 ]; then
  tables=$(mktemp)
  "$(echo "$objdump" | sed 's/objdump$/objcopy/')" -O binary -w --only-section='.eh_fram*' "$file" "$tables"
  [ -s "$tables" ] || say "has no unwind tables"
  grep -q -a zPL "$tables" && say "has functions with cleanups or handlers (a personality routine)"
  rm -f "$tables"
fi

path=$(strings -a "$file" | grep -E -m1 '/[A-Za-z0-9_.+-]+/')
[ -n "$path" ] && say "carries a path: $path"

[ $fail = 0 ] && echo "$name: binary contract holds"
exit $fail
