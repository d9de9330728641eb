#!/bin/sh
# Checks the release archive that tools/make_dist.sh makes of OUT/mex:
#   - made a second time from a copy of the plug-ins in another folder, later,
#     in another time zone and under another umask, it is the same byte for
#     byte;
#   - SHA256SUMS at its top lists every plug-in in it, and sha256sum -c
#     passes there;
#   - no file in it names the repository's folder or the build's.
# usage: check_dist.sh OUT
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
say() { echo "dist: $*"; fail=1; }

sh "$root/tools/make_dist.sh" "$out" "$work/a" >/dev/null || { echo "dist: make_dist.sh failed"; exit 1; }
mkdir -p "$work/copy/mex"
cp "$out"/mex/*.mex* "$work/copy/mex/"
(umask 077; TZ=Pacific/Kiritimati sh "$root/tools/make_dist.sh" "$work/copy" "$work/b") >/dev/null ||
  { echo "dist: make_dist.sh failed on the copy"; exit 1; }
a=$(ls "$work"/a/*.zip) b=$(ls "$work"/b/*.zip)
cmp -s "$a" "$b" || say "$(basename "$a") differs when made again elsewhere"

mkdir "$work/unpacked"
unzip -q "$a" -d "$work/unpacked" || { echo "dist: cannot unzip $a"; exit 1; }
top=$(ls -d "$work"/unpacked/*)
listed=$(awk '{print $2}' "$top/SHA256SUMS" | sed 's/^\*//')
present=$(cd "$top" && LC_ALL=C ls plugins/*.mex*)
[ "$listed" = "$present" ] || say "SHA256SUMS lists [$(echo $listed)], the archive has [$(echo $present)]"
(cd "$top" && sha256sum --quiet -c SHA256SUMS) || say "sha256sum -c SHA256SUMS fails"

for path in "$root" "$out"; do
  hits=$(grep -a -r -l -F "$path" "$top")
  [ -n "$hits" ] && say "$path is named in: $(echo "$hits" | sed "s|$top/||" | tr '\n' ' ')"
done

[ $fail = 0 ] && echo "dist: $(basename "$a") is the same when made again, its checksums hold, no build path in it"
exit $fail
