# shellcheck shell=bash
# The generated full-size corpus, shared by the benchmark scripts (sourced,
# not run). It lives in <build>/bench-corpus, made once with the build's
# generate-corpus (which must be built already) and reused afterwards;
# delete the folder to make it again. Its Russian database holds the
# sermons and a Bible; an English one beside it, the same sermons (same
# seed, so the same dates) and a Bible in the western numbering, serves the
# parallel-translation cases.

# The Russian database: bench_russian_corpus BUILD_DIR.
bench_russian_corpus() {
  local build=$1
  local corpus="$build/bench-corpus"
  if [ ! -s "$corpus/sql/data/kvr_main_ru.sqlite" ]; then
    # Written beside and moved into place, so a broken-off run leaves no
    # corpus that looks complete.
    rm -rf "$corpus.partial"
    "$build/tools/generate-corpus" "$corpus.partial" >&2
    rm -rf "$corpus"
    mv "$corpus.partial" "$corpus"
  fi
}

# Both databases: bench_corpus BUILD_DIR.
bench_corpus() {
  local build=$1
  local corpus="$build/bench-corpus"
  bench_russian_corpus "$build"
  if [ ! -s "$corpus/sql/data/kvr_main_en.sqlite" ]; then
    # Also added to a corpus made before it was part of it.
    rm -rf "$corpus.partial-en"
    "$build/tools/generate-corpus" "$corpus.partial-en" --lang en >&2
    mv "$corpus.partial-en/sql/data/kvr_main_en.sqlite" "$corpus/sql/data/"
    rm -rf "$corpus.partial-en"
  fi
}
