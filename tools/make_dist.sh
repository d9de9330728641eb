#!/bin/sh
# Writes out/dist/<name>-<version>.zip for users who do not build: every
# plug-in in out/mex (whatever platforms were built), each kernel's help
# file beside them, the toolbox, and a short README.
#
#   sh tools/make_dist.sh [OUT]      (default OUT: out)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(cd "${1:-$root/out}" && pwd)
name=alskernels
version=$(sed -n 's/^Version: *//p' "$root/toolbox/pkg/DESCRIPTION")
top=$name-$version

set -- "$out"/mex/*.mex*
[ -e "$1" ] || { echo "no plug-ins in $out/mex: build them first (make all)" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$top/plugins" "$stage/$top/toolbox/plain" "$stage/$top/toolbox/private"
cp "$@" "$stage/$top/plugins/"
# Help files beside the plug-ins: help finds them, calls still go to the
# plug-in of the host's own platform.
cp "$root"/toolbox/help/*.m "$stage/$top/plugins/"
cp "$root"/toolbox/*.m "$stage/$top/toolbox/"
cp "$root"/toolbox/plain/*.m "$stage/$top/toolbox/plain/"
cp "$root"/toolbox/private/*.m "$stage/$top/toolbox/private/"
suffixes=$(for f in "$@"; do echo "${f##*.}"; done | sort -u | tr '\n' ' ')
sed -e "s/@VERSION@/$version/g" -e "s/@SUFFIXES@/$suffixes/" "$root/tools/dist-README.txt" \
  > "$stage/$top/README.txt"

mkdir -p "$out/dist"
zip="$out/dist/$top.zip"
rm -f "$zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip "$top")
echo "$zip: $# plug-ins ($suffixes)"
