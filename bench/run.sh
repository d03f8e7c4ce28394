#!/usr/bin/env bash
# Benchmarks on a generated full-size corpus, in one command:
#
#   bench/run.sh [--runs N] [--filter text] [--no-document-indexes] [--no-search-indexes]
#
# Builds the corpus generator and the benchmark program in the build folder
# (BUILD_DIR, default build/), generates the corpus once into
# <build>/bench-corpus (reused afterwards; delete the folder to make it again;
# see corpus.sh) and prints one line per case, "<case name> <median
# milliseconds> ms". The cases run on a copy of the corpus made afresh for
# each run.
#
# --no-document-indexes reads documents through the full-text tables, without
# the indexes the program keeps on their content tables: the "before" figures;
# --no-search-indexes searches the same way.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=$(nproc 2>/dev/null || echo 2)

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# Figures from a debug or sanitizer build are not comparable with the others.
if grep -Eq '^(CMAKE_BUILD_TYPE:STRING=Debug|QUILLMARK_SANITIZE:STRING=.+)$' "$build/CMakeCache.txt"; then
  echo "warning: $build is a debug or sanitizer build; its figures are not comparable" >&2
fi
cmake --build "$build" -j "$jobs" --target generate-corpus quillmark-bench >/dev/null

. "$root/bench/corpus.sh"
bench_corpus "$build"
corpus="$build/bench-corpus"

# The import, converter and deletion cases write into the database and take
# their rows out again, which leaves the full-text index in more pieces and
# the file larger: every run works on a fresh copy, so that runs (and
# checkouts sharing one corpus) measure the same file.
work="$build/bench-run"
rm -rf "$work"
cp -a "$corpus" "$work"
status=0
"$build/bench/quillmark-bench" "$work" "$@" || status=$?
rm -rf "$work"
exit $status
