#!/bin/sh
# Installs the Debian packages listed in the given files, when missing.
# Each file lists package names separated by white space; '#' starts a
# comment. A name of the form pkg:i386 turns on the i386 architecture first.
# As root it runs apt-get itself; otherwise it prints the lines to run.
# usage: install-deps.sh FILE...
set -e
packages=$(cat "$@" | sed 's/#.*//')
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
foreign=""
case "$missing" in *:i386*)
  dpkg --print-foreign-architectures 2>/dev/null | grep -qx i386 || foreign=i386 ;;
esac
if [ "$(id -u)" = 0 ]; then
  echo "installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  [ -n "$foreign" ] && dpkg --add-architecture i386
  apt-get update -q
  apt-get install -y -q --no-install-recommends $missing
else
  echo "missing Debian packages; run as root:"
  [ -n "$foreign" ] && echo "  dpkg --add-architecture i386"
  echo "  apt-get update && apt-get install -y --no-install-recommends$missing"
  exit 1
fi
