#!/bin/sh
# Runs an i386 program as the kernel's own 32-bit code or, where the kernel
# runs none, under Debian's qemu-i386 with the i386 libraries of this
# machine (multiarch: their root is /). KERNELS_I386 says which (native or
# qemu; make test sets it once); unset, tools/ia32.sh finds out.
# usage: i386-run.sh PROGRAM [ARG...]
mode=${KERNELS_I386:-$(sh "$(dirname "$0")/../tools/ia32.sh")} || exit 1
case $mode in
  native) exec "$@" ;;
  qemu) exec qemu-i386 -L / "$@" ;;
  *) echo "i386-run.sh: KERNELS_I386 is '$mode', not native or qemu" >&2; exit 1 ;;
esac
