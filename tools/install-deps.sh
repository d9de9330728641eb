#!/bin/sh
# Installs the Debian packages the build and the tests need, when missing.
# As root it runs apt-get itself; otherwise it prints the line to run.
set -e
packages="cmake make g++ binutils valgrind octave liboctave-dev libopenblas-dev libopenblas64-dev googletest libgtest-dev libbenchmark-dev"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" = 0 ]; then
  echo "installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends $missing
else
  echo "missing Debian packages; run as root:"
  echo "  apt-get update && apt-get install -y --no-install-recommends$missing"
  exit 1
fi
