#!/bin/sh
# Writes <DEST>/<name>-<version>.zip (DEST: OUT/dist) for users who do not
# build: every plug-in in OUT/mex (whatever platforms were built), each
# kernel's help file beside them, the toolbox, a short README, and
# SHA256SUMS, the checksum of each plug-in.
#
# The same plug-ins and sources give the same archive byte for byte,
# wherever and whenever it is made: entries in sorted order, every one with
# the same time (SOURCE_DATE_EPOCH if set, else the time of the last
# commit), modes 644 and 755 whatever the umask, and no extra attributes
# (zip -X: no owner, no other times).
#
#   sh tools/make_dist.sh [OUT [DEST]]      (default OUT: out)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(cd "${1:-$root/out}" && pwd)
dest=${2:-$out/dist}
name=alskernels
version=$(sed -n 's/^Version: *//p' "$root/toolbox/pkg/DESCRIPTION")
top=$name-$version
# 1980-01-01, the earliest time a zip entry holds, outside a repository.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)}

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
suffixes=$(for f in "$@"; do echo "${f##*.}"; done | LC_ALL=C sort -u | tr '\n' ' ')
sed -e "s/@VERSION@/$version/g" -e "s/@SUFFIXES@/$suffixes/" "$root/tools/dist-README.txt" \
  > "$stage/$top/README.txt"
# Checked at the top of the unpacked archive with sha256sum -c SHA256SUMS.
(cd "$stage/$top" && LC_ALL=C sha256sum plugins/*.mex* > SHA256SUMS)

find "$stage/$top" -type d -exec chmod 755 {} +
find "$stage/$top" -type f -exec chmod 644 {} +
find "$stage/$top" -exec touch -h -d "@$epoch" {} +

mkdir -p "$dest"
zip="$(cd "$dest" && pwd)/$top.zip"
rm -f "$zip"
# A zip entry holds its time as local time: read in UTC, the same epoch
# gives the same bytes in every time zone.
(cd "$stage" && find "$top" | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$zip")
echo "$zip: $# plug-ins ($suffixes)"
