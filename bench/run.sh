#!/usr/bin/env bash
# Benchmarks on a generated full-size corpus, in one command:
#
#   bench/run.sh [--runs N] [--filter text] [--no-document-indexes] [--no-search-indexes]
#
# Builds the corpus generator and the benchmark program in the build folder
# (BUILD_DIR, default build/), generates the corpus once into
# <build>/bench-corpus (reused afterwards; delete the folder to make it again)
# and prints one line per case, "<case name> <median milliseconds> ms". The
# cases run on a copy of the corpus made afresh for each run.
# The corpus is Russian, with the same sermons (same seed, so the same dates)
# and a Bible in the western numbering in an English database beside it, for
# the parallel-translation cases.
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

corpus="$build/bench-corpus"
if [ ! -s "$corpus/sql/data/kvr_main_ru.sqlite" ]; then
  # Written beside and moved into place, so a broken-off run leaves no corpus
  # that looks complete.
  rm -rf "$corpus.partial"
  "$build/tools/generate-corpus" "$corpus.partial" >&2
  rm -rf "$corpus"
  mv "$corpus.partial" "$corpus"
fi
if [ ! -s "$corpus/sql/data/kvr_main_en.sqlite" ]; then
  # Also added to a corpus made before it was part of it.
  rm -rf "$corpus.partial-en"
  "$build/tools/generate-corpus" "$corpus.partial-en" --lang en >&2
  mv "$corpus.partial-en/sql/data/kvr_main_en.sqlite" "$corpus/sql/data/"
  rm -rf "$corpus.partial-en"
fi

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
