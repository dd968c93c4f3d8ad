#!/bin/bash
# Runs fuzz targets one after another, each for SECONDS, at the lowest priority, on
# the seeds of make_seeds.sh; prints each target's executions and findings. A target
# stops at its first finding. FUZZ_TIMEOUT: seconds one input may take (default 20; a
# busy machine at the lowest priority may need more).
# Usage: fuzz/run.sh BUILD_DIR SEEDS_DIR SECONDS TARGET...   (TARGET: bmp, jpg, ...)
set -u
build=${1:?}; seeds=${2:?}; seconds=${3:?}; shift 3
here=$(cd "$(dirname "$0")" && pwd)
export LSAN_OPTIONS=suppressions=$here/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
for kind in "$@"; do
  work=$seeds/run-$kind
  mkdir -p "$work/corpus" "$work/found"
  log=$work/log.txt
  start=$(date +%s)
  nice -n 19 "$build/fuzz/fuzz_$kind" -max_total_time="$seconds" -rss_limit_mb=3000 -timeout="${FUZZ_TIMEOUT:-20}" \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$work/found/" \
    "$work/corpus" "$seeds/$kind" > "$log" 2>&1
  rc=$?
  took=$(( $(date +%s) - start ))
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  found=$(ls "$work/found" | wc -l)
  echo "$kind: exit $rc, $execs executions in ${took}s, $found finding(s) $(ls "$work/found" | tr '\n' ' ')"
done
