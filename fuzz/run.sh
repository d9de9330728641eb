#!/bin/sh
# Builds the fuzz tree and runs the kernels' fuzz targets.
#   run.sh fuzz OUT RUNS   every kernel for RUNS executions (two at a time),
#                          then the Octave plug-ins in a child Octave
#   run.sh replay OUT      the seed corpus, input by input, and a short run
#                          of each kernel with a fixed seed
# Prints one line per kernel, "fuzz <kernel>: <N> executions, <K> findings";
# exits non-zero when anything was found. A finding's input is kept in
# OUT/fuzz/findings/<kernel>/; a copy in fuzz/corpus/<kernel>/ keeps it found.
set -e
mode=$1
mkdir -p "$2/fuzz"
out=$(cd "$2" && pwd)
runs=${3:-1000000}
here=$(cd "$(dirname "$0")" && pwd)
build=$out/build-fuzz
kernels="delmirost korvanthe vantresk ombrelast nzoverwrite"
# After a finding the kernel's run goes on with the executions left, up to
# this many findings.
max_findings=5
# Seconds of fresh fuzzing per kernel in replay mode.
replay_seconds=${FUZZ_REPLAY_SECONDS:-4}

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# seeds KERNEL: the kernel's seed corpus, if it has one.
seeds() { [ -d "$here/corpus/$1" ] && echo "$here/corpus/$1"; true; }

# fuzz_one KERNEL RUNS WORK FOUND [libFuzzer options]: runs the kernel's
# target from the corpus WORK (which it grows) and the seed corpus, keeping
# the input of a finding in FOUND; prints the kernel's line.
fuzz_one() {
  k=$1; n=$2; work=$3; found=$4; shift 4
  log=$out/fuzz/$k.log
  mkdir -p "$work" "$found"
  : >"$log"
  done_runs=0; findings=0; cov=0
  while :; do
    left=$((n - done_runs))
    set +e
    "$build/fuzz_$k" -runs=$left -use_value_profile=1 -print_final_stats=1 -artifact_prefix="$found/" "$@" \
      "$work" $(seeds "$k") >>"$log" 2>&1
    rc=$?
    set -e
    ran=$(sed -n 's/^stat::number_of_executed_units: //p' "$log" | tail -1)
    done_runs=$((done_runs + ${ran:-0}))
    c=$(sed -n 's/.* cov: \([0-9]*\) .*/\1/p' "$log" | tail -1)
    [ -n "$c" ] && cov=$c
    [ $rc -eq 0 ] && break
    findings=$((findings + 1))
    grep -E '^fuzz .*: finding|^==[0-9]+==ERROR|runtime error|stand-in host:' "$log" | tail -1 >&2 || true
    if [ $findings -ge $max_findings ] || [ $done_runs -ge $n ] || [ "${ran:-0}" -eq 0 ]; then break; fi
    echo "--- restart after finding $findings" >>"$log"
  done
  echo "fuzz $k: $done_runs executions, $findings findings (coverage: $cov edges)"
  [ $findings -eq 0 ]
}

# replay_one KERNEL: every seed input once, then a short run with a fixed
# seed from a fresh corpus.
replay_one() {
  k=$1
  log=$out/fuzz/replay-$k.log
  files=$(ls "$here/corpus/$k" 2>/dev/null | sed "s|^|$here/corpus/$k/|")
  seeds=$(echo $files | wc -w)
  rc=0
  if [ -n "$files" ]; then
    set +e
    # Files given one by one are run once each and not mutated.
    "$build/fuzz_$k" $files >"$log" 2>&1
    rc=$?
    set -e
  fi
  if [ $rc -ne 0 ]; then
    grep -E '^fuzz .*: finding|^==[0-9]+==ERROR|runtime error|stand-in host:|Running: ' "$log" | tail -2 >&2
    echo "fuzz $k: replay of $seeds seed inputs failed (see $log)"
    return 1
  fi
  rm -rf "$out/fuzz/replay/$k"
  echo "fuzz $k: $seeds seed inputs replayed"
  fuzz_one "$k" 100000000 "$out/fuzz/replay/$k/corpus" "$out/fuzz/replay/$k/findings" \
    -seed=1 -max_total_time="$replay_seconds"
}

# each FUNCTION: FUNCTION KERNEL for every kernel, two at a time (one per
# core, the next as soon as one ends), each in a run of this script in mode
# "one"; then their lines, in kernel order.
each() {
  rc=0
  echo $kernels | tr ' ' '\n' | xargs -P 2 -I{} sh "$here/run.sh" one "$out" "$runs" "$1" {} || rc=1
  for k in $kernels; do cat "$out/fuzz/$k.line"; rm -f "$out/fuzz/$k.line"; done
  return $rc
}

fuzz_kernel() { fuzz_one "$1" "$runs" "$out/fuzz/corpus/$1" "$out/fuzz/findings/$1"; }
octave_kernel() { sh "$here/octave_fuzz.sh" "$out" "$1"; }

build() {
  cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j 2 -- --no-print-directory >/dev/null
}

status=0
case $mode in
one)
  # one OUT RUNS FUNCTION KERNEL: one kernel's part of a run, its line kept
  # for the caller.
  "$4" "$5" >"$out/fuzz/$5.line" 2>&1 || status=1
  ;;
fuzz)
  build
  each fuzz_kernel || status=1
  each octave_kernel || status=1
  ;;
replay)
  start=$(date +%s)
  build
  each replay_one >"$out/fuzz/replay.lines" || status=1
  cat "$out/fuzz/replay.lines"
  bad=$(grep -c -E 'failed|[1-9][0-9]* findings' "$out/fuzz/replay.lines" || true)
  echo "fuzz replay took $(( $(date +%s) - start )) s"
  echo "replay: $(( $(echo $kernels | wc -w) - bad )) passed, $bad failed"
  ;;
*)
  echo "usage: run.sh fuzz OUT RUNS | run.sh replay OUT" >&2
  exit 2
  ;;
esac
exit $status
