#!/bin/sh
# Finds out how the i386 programs of the tests run here, by running a tiny
# one (tools/ia32-probe.c): "native" where the kernel runs 32-bit code,
# "qemu" (under Debian's qemu-i386) where it does not. KERNELS_I386=qemu
# forces the fallback, KERNELS_I386=native the kernel's own 32-bit code.
# Prints the word on standard output and one line for people on standard
# error; under qemu it checks that qemu-i386 runs the probe.
# usage: ia32.sh
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
probe=$dir/ia32-probe
gcc -m32 -nostdlib -static -fno-pie -no-pie -fno-stack-protector -O1 \
    -o "$probe" "$(dirname "$0")/ia32-probe.c" 2>"$dir/log" || {
  echo "ia32.sh: no i386 build of the probe (the Debian packages of build/linux-i386.packages?):" >&2
  cat "$dir/log" >&2
  exit 1
}
# bash reports a program the kernel cannot start ("Exec format error")
# where sh would read it as a script.
why=$(bash -c '"$0"; exit $?' "$probe" 2>&1)
rc=$?
why=$(echo "$why" | head -n 1)
why=${why##*: }
[ $rc -gt 128 ] && why="killed by signal $((rc - 128)) as it starts"
case $rc in
  32) kernel="this kernel runs 32-bit code" mode=native ;;
  33) kernel="this kernel runs 32-bit code only through an emulator (binfmt_misc)" mode=qemu ;;
  *) kernel="this kernel runs no 32-bit code; the probe: $why" mode=qemu ;;
esac
case ${KERNELS_I386:-} in
  '') ;;
  native|qemu) kernel="forced by KERNELS_I386=$KERNELS_I386; $kernel" mode=$KERNELS_I386 ;;
  *) echo "ia32.sh: KERNELS_I386 is '$KERNELS_I386', not native or qemu" >&2; exit 1 ;;
esac
if [ $mode = qemu ]; then
  qemu-i386 -L / "$probe" 2>"$dir/log"
  [ $? = 33 ] || {
    echo "ia32.sh: qemu-i386 does not run i386 programs here (Debian package qemu-user):" >&2
    cat "$dir/log" >&2
    exit 1
  }
  echo "== i386 programs: under qemu-i386 ($kernel)" >&2
else
  echo "== i386 programs: natively ($kernel)" >&2
fi
echo $mode
