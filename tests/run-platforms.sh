#!/bin/sh
# Runs the tests of each given build tree (OUT/build-<tree>) with ctest and
# ends with a summary: the time each tree took, how many of its tests ran
# and passed, and which were skipped.
# Finds out once how i386 programs run here (tools/ia32.sh; KERNELS_I386
# forces it): natively, or under qemu-i386 where the kernel runs no 32-bit
# code. Under qemu-i386, the tests labelled ia32-* (tests/CMakeLists.txt)
# cannot run; they are left out, with one line for each label that says
# why and what of its tree ran. The tests then run in processes where no
# 32-bit code may run (tools/no-ia32.c), so that the fallback, forced on a
# kernel that runs 32-bit code, passes only where it would on one that
# does not.
# usage: run-platforms.sh OUT TREE...
out=$(cd "$1" && pwd) || exit 1
shift
tools=$(cd "$(dirname "$0")/../tools" && pwd)
KERNELS_I386=$(sh "$tools/ia32.sh") || exit 1
export KERNELS_I386
jail=""
if [ "$KERNELS_I386" = qemu ]; then
  gcc -O1 -Wall -Wextra -o "$out/no-ia32" "$tools/no-ia32.c" || exit 1
  # Inside, the probe must find no 32-bit code.
  if [ "$(KERNELS_I386='' "$out/no-ia32" sh "$tools/ia32.sh" 2>/dev/null)" = qemu ]; then
    jail=$out/no-ia32
    echo "== no 32-bit code in the tests' processes (tools/no-ia32.c)"
  else
    echo "== 32-bit code not barred from the tests' processes (no seccomp filter here)"
  fi
fi

# why <label>: why the tests of that label cannot run under qemu-i386.
why() {
  case $1 in
    ia32-valgrind) echo "valgrind's i386 tool is itself 32-bit code and does not run under qemu-i386" ;;
    ia32-wine) echo "32-bit wine is itself an i386 program and does not start under qemu-i386" ;;
    *) echo "it needs the kernel to run 32-bit code" ;;
  esac
}

# names <ctest options>: the names of the tests ctest selects, one a line.
names() { ctest -N "$@" | sed -n 's/^ *Test *#[0-9]*: //p'; }

# ran <names>: the names, with the contract checks counted.
ran() {
  checks=$(echo "$1" | grep -c '^deliverable_')
  others=$(echo "$1" | grep -v '^deliverable_' | tr '\n' ' ' | sed 's/ $//; s/ /, /g')
  echo "the build${others:+, $others} and $checks binary contract checks"
}

summary="" total=0
for tree in "$@"; do
  echo "== tests: $tree"
  cd "$out/build-$tree" || exit 1
  skip=""
  [ "$KERNELS_I386" = qemu ] && skip="-LE ^ia32-"
  start=$(date +%s)
  # shellcheck disable=SC2086
  $jail ctest --output-on-failure $skip || exit 1
  seconds=$(( $(date +%s) - start ))
  total=$((total + seconds))
  passed=$(names $skip | wc -l)
  skipped=""
  if [ -n "$skip" ]; then
    for label in $(ctest --print-labels | sed -n 's/^ *\(ia32-[a-z0-9-]*\)$/\1/p'); do
      these=$(names -L "^$label\$" | tr '\n' ' ' | sed 's/ $//; s/ /, /g')
      skipped="$skipped${skipped:+, }$these"
      echo "$tree: skipped $these ($(why "$label")); ran $(ran "$(names $skip)")"
    done
  fi
  line=$(printf '%-14s %4d s  %3d passed' "$tree" "$seconds" "$passed")
  [ -n "$skipped" ] && line="$line, skipped $skipped"
  summary="$summary$line
"
  cd - >/dev/null || exit 1
done
echo "== summary (i386 programs $( [ "$KERNELS_I386" = qemu ] && echo under qemu-i386 || echo natively))"
printf '%s' "$summary"
printf '%-14s %4d s\n' total "$total"
