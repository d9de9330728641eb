#!/bin/sh
# Calls the Octave plug-in OUT/octave/<kernel>.mex (built by plain make)
# OCTAVE_FUZZ_CALLS times (10,000 by default) with random arguments, in a
# child Octave process (octave_fuzz.m). A crash of that process is a
# finding: the call that caused it is printed, and the calls go on in a new
# process from the next one. Prints "octave <kernel>: <N> calls, <K>
# crashes"; exits non-zero after a crash.
# usage: octave_fuzz.sh OUT KERNEL
out=$1
k=$2
here=$(cd "$(dirname "$0")" && pwd)
calls=${OCTAVE_FUZZ_CALLS:-10000}
seed=${OCTAVE_FUZZ_SEED:-1}
octave="octave-cli --no-init-file --no-site-file --no-history --quiet"
path="addpath('$out/octave'); addpath('$here');"
mkdir -p "$out/fuzz"

log=$out/fuzz/octave-$k.log
first=1; crashes=0
while [ "$first" -le "$calls" ]; do
  timeout 900 $octave --eval "$path octave_fuzz('$k', $first, $calls, $seed)" >"$log" 2>&1
  rc=$?
  [ $rc -eq 0 ] && [ "$(tail -1 "$log")" = done ] && break
  last=$(sed -n 's/^call //p' "$log" | tail -1)
  last=${last:-$first}
  crashes=$((crashes + 1))
  echo "octave $k: the process ended (status $rc) in call $last:" >&2
  $octave --eval "$path octave_fuzz('$k', $last, $last, $seed, true)" >&2
  tail -3 "$log" >&2
  first=$((last + 1))
done
echo "octave $k: $calls calls, $crashes crashes"
[ $crashes -eq 0 ]
