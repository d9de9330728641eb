#!/bin/sh
# Writes the Octave package of the toolbox: a tarball that `pkg install`
# accepts, after which `pkg load alskernels` makes the five kernels, the
# completion routine and its helpers available.
#
#   sh toolbox/pkg/make_pkg.sh [OUTDIR]      (default OUTDIR: out/pkg)
#
# Layout of the tarball (alskernels/):
#   DESCRIPTION INDEX COPYING post_install.m
#   inst/              the routine, the reader, the demo, recommending and
#                      ranking, the plain kernels
#   inst/private/      the toolbox's helpers
#   inst/kernelhelp/   the plug-ins' help files; post_install moves them
#                      beside the built .mex files
#   src/Makefile       builds the .mex files with mkoctfile --mex
#   src/kernels, src/factor, src/host   the kernel sources
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
outdir=${1:-$root/out/pkg}
version=$(sed -n 's/^Version: *//p' "$here/DESCRIPTION")
name=alskernels

mkdir -p "$outdir"
outdir=$(cd "$outdir" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
pkg="$stage/$name"
mkdir -p "$pkg/inst/kernelhelp" "$pkg/inst/private" "$pkg/src/kernels" "$pkg/src/factor" "$pkg/src/host"

cp "$here/DESCRIPTION" "$here/INDEX" "$here/COPYING" "$here/post_install.m" "$pkg/"
cp "$root"/toolbox/*.m "$root"/toolbox/plain/*.m "$pkg/inst/"
cp "$root"/toolbox/private/*.m "$pkg/inst/private/"
cp "$root"/toolbox/help/*.m "$pkg/inst/kernelhelp/"
cp "$here/Makefile.src" "$pkg/src/Makefile"
cp "$root"/src/kernels/*.cpp "$pkg/src/kernels/"
cp "$root"/src/factor/*.cpp "$root"/src/factor/*.h "$pkg/src/factor/"
cp "$root"/src/host/*.h "$pkg/src/host/"

tarball="$outdir/$name-$version.tar.gz"
tar -czf "$tarball" -C "$stage" "$name"
echo "$tarball"
