#!/usr/bin/env bash
# Runs one fuzz target for a number of seconds:  tools/fuzz.sh TARGET SECONDS
# TARGET is a file name of fuzz/ without ".cpp" (sermonfile, biblefile,
# versionlist, archive, tokenizer, search, exchangewriter, highlighter).
# The clang build lives in build-fuzz/ and is configured once; inputs the run
# finds interesting go to build-fuzz/corpus/TARGET, never into the repository.
# A crashing input is written to build-fuzz/ (crash-*); once fixed, copy it
# into fuzz/corpus/TARGET so that the normal test suite replays it.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 TARGET SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seeds="$root/fuzz/corpus/$target"
[ -d "$seeds" ] || { echo "no seed folder $seeds" >&2; exit 2; }

"$root/scripts/install-deps.sh" --fuzz
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang-16 CXX=clang++-16 cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLMARK_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target "fuzz_$target"

scratch="$build/corpus/$target"
mkdir -p "$scratch"
log="$build/fuzz_$target.log"
cd "$build"
# Leaks are reported by the replays' sanitizer builds; Qt keeps some
# process-wide allocations that would end every run here.
echo "fuzzing $target for $seconds s (log: $log)"
status=0
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/fuzz_$target" \
  -max_total_time="$seconds" -timeout=10 -max_len=4096 -print_final_stats=1 \
  "$scratch" "$seeds" >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  grep -E -A20 "ERROR|check failed|Test unit written" "$log" | head -60
fi
echo "--- $target, $seconds s:"
grep -E "^stat::number_of_executed_units|^#[0-9]+ +DONE" "$log" | tail -2
grep -oE "cov: [0-9]+ ft: [0-9]+" "$log" | tail -1
exit "$status"
