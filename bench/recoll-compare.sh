#!/usr/bin/env bash
# quillmark-cli search beside a general desktop search engine, Recoll (on
# Xapian), on the same text: the generated full-size corpus's sermons.
#
#   bench/recoll-compare.sh [--runs N]
#
# QUILLMARK_CLI names another quillmark-cli to time (an earlier build, say);
# the corpus and Recoll's side stay the same.
#
# Installs nothing: it needs recollindex and recollq (Debian: apt-get install
# recoll, or only its command-line part, recollcmd; scripts/install-deps.sh
# --bench does that) and the sqlite3 shell. It builds quillmark-cli and the
# corpus generator in the build folder (BUILD_DIR, default build/), makes the
# corpus once as bench/run.sh does (see corpus.sh), and then, in a temporary
# folder that it removes at the end:
#
#  - writes every sermon of the Russian database out as a plain text file,
#    one paragraph a line, straight from the database with sqlite3;
#  - indexes those files with Recoll in a private configuration folder
#    (RECOLL_CONFDIR), as plain text, without stemming;
#  - picks the words from the text files, the same for both sides: the word
#    of frequency rank 300, and a two-word phrase, the most frequent word
#    with the word after it at its first such place (in file order);
#  - runs each search N times (default 7), the two programs by turns, each
#    run a whole process (start, search, first page printed, exit) timed
#    with the clock around it, and prints the medians side by side.
#
# Like for like, both print the first page of 20 hits and the exact hit
# count, and match words as they are written, case aside:
#
#   quillmark-cli search --app-dir APP --lang ru --page-size 20 --whole-words WORD
#   quillmark-cli search --app-dir APP --lang ru --page-size 20 --phrase WORD1 WORD2
#   recollq -c CONFDIR -E -s "" -n 20 WORD
#   recollq -c CONFDIR -E -s "" -n 20 '"WORD1 WORD2"'
#
# (-E: the exact result count rather than an estimate; -s "": no stemming
# expansion; -n 20: the first 20 results, printed as Recoll's result lines.)
# A hit of quillmark-cli is a paragraph, one of Recoll a sermon file, so the
# counts differ; both are printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=$(nproc 2>/dev/null || echo 2)
runs=7
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=${2:?}; shift 2 ;;
    *) echo "usage: $0 [--runs N]" >&2; exit 2 ;;
  esac
done

missing=()
for tool in recollindex recollq sqlite3; do
  command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "missing: ${missing[*]}" >&2
  echo "install them with: apt-get install recoll sqlite3" >&2
  echo "  (or recollcmd, Recoll's command-line programs alone; scripts/install-deps.sh --bench)" >&2
  exit 2
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
if grep -Eq '^(CMAKE_BUILD_TYPE:STRING=Debug|QUILLMARK_SANITIZE:STRING=.+)$' "$build/CMakeCache.txt"; then
  echo "warning: $build is a debug or sanitizer build; its figures are not comparable" >&2
fi
cli=${QUILLMARK_CLI:-$build/src/quillmark-cli}
if [ -n "${QUILLMARK_CLI:-}" ]; then
  cmake --build "$build" -j "$jobs" --target generate-corpus >/dev/null
else
  cmake --build "$build" -j "$jobs" --target generate-corpus quillmark-cli >/dev/null
fi
. "$root/bench/corpus.sh"
bench_russian_corpus "$build"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The tool's own application folder: the corpus's settings and a copy of
# its database, so that nothing it does reaches the shared corpus.
app="$work/app"
mkdir -p "$app/sql/data"
cp "$build/bench-corpus/setting.ini" "$app/"
cp "$build/bench-corpus/sql/data/kvr_main_ru.sqlite" "$app/sql/data/"
database="$app/sql/data/kvr_main_ru.sqlite"

# One file per sermon (numbered in the order of the sermons' keys), one
# paragraph a line, in the order of the database.
texts="$work/texts"
mkdir "$texts"
sqlite3 -readonly -batch -noheader -separator "$(printf '\t')" "$database" \
  "SELECT c2date, replace(replace(c3text, char(13), ' '), char(10), ' ')
   FROM paragraphs_content ORDER BY c2date, docid;" |
  awk -F '\t' -v dir="$texts" '
    $1 != key { if (file != "") close(file); key = $1; file = sprintf("%s/%05d.txt", dir, ++n) }
    { sub(/^[^\t]*\t/, ""); print > file }'
sermons=$(find "$texts" -name '*.txt' | wc -l)
paragraphs=$(cat "$texts"/*.txt | wc -l)

# Recoll: plain text, no stemming database, no spelling dictionary.
confdir="$work/recoll"
mkdir "$confdir"
cat >"$confdir/recoll.conf" <<CONF
topdirs = $texts
indexstemminglanguages =
noaspell = 1
loglevel = 1
CONF
export RECOLL_CONFDIR="$confdir"
index_start=$(date +%s%N)
recollindex -c "$confdir" -z >"$work/recollindex.log" 2>&1 ||
  { cat "$work/recollindex.log" >&2; exit 1; }
index_s=$(( ($(date +%s%N) - index_start) / 1000000000 ))

# The words, from the text files alone: letters only, small letters.
cat "$texts"/*.txt | LC_ALL=C.UTF-8 grep -oE '[[:alpha:]]+' |
  LC_ALL=C.UTF-8 sed 's/.*/\L&/' | awk '{ n[$0]++ } END { for (w in n) print n[w], w }' |
  LC_ALL=C sort -k1,1nr -k2,2 >"$work/frequencies"
frequent=$(awk 'NR == 1 { print $2 }' "$work/frequencies")
word=$(awk 'NR == 300 { print $2 }' "$work/frequencies")
word_count=$(awk 'NR == 300 { print $1 }' "$work/frequencies")
phrase=""
for file in "$texts"/*.txt; do
  phrase=$(LC_ALL=C.UTF-8 grep -m1 -ohE "(^|[^[:alpha:]])$frequent [[:alpha:]]{3,}" "$file" |
    head -n1 | LC_ALL=C.UTF-8 sed -E 's/^[^[:alpha:]]+//') || true
  [ -n "$phrase" ] && break
done
if [ -z "$word" ] || [ -z "$phrase" ]; then
  echo "no rank-300 word or no phrase found in the corpus" >&2
  exit 1
fi
read -r first second <<<"$phrase"

quill_word=("$cli" search --app-dir "$app" --lang ru --page-size 20 --whole-words "$word")
quill_phrase=("$cli" search --app-dir "$app" --lang ru --page-size 20 --phrase "$first" "$second")
recoll_word=(recollq -c "$confdir" -E -s "" -n 20 "$word")
recoll_phrase=(recollq -c "$confdir" -E -s "" -n 20 "\"$first $second\"")

# The hit counts, and a first run of each (the files now in the cache).
quill_hits() { "$@" 2>/dev/null | awk -F '\t' '$1 == "found" { print $2 }'; }
recoll_hits() { "$@" 2>/dev/null | awk '/ results/ { print $1; exit }'; }
qw_hits=$(quill_hits "${quill_word[@]}")
qp_hits=$(quill_hits "${quill_phrase[@]}")
rw_hits=$(recoll_hits "${recoll_word[@]}")
rp_hits=$(recoll_hits "${recoll_phrase[@]}")

# Milliseconds, to a tenth, of one whole run.
run_ms() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  echo $(( (end - start) / 100000 ))
}
median() {
  sort -n | awk '{ a[NR] = $1 } END { m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2; printf "%.1f", m / 10 }'
}
: >"$work/qw"; : >"$work/rw"; : >"$work/qp"; : >"$work/rp"
for _ in $(seq "$runs"); do
  run_ms "${quill_word[@]}" >>"$work/qw"
  run_ms "${recoll_word[@]}" >>"$work/rw"
  run_ms "${quill_phrase[@]}" >>"$work/qp"
  run_ms "${recoll_phrase[@]}" >>"$work/rp"
done

echo "# corpus: $sermons sermons, $paragraphs paragraphs; Recoll indexed them in ${index_s} s"
echo "# word: \"$word\" (rank 300, $word_count times); phrase: \"$first $second\""
echo "# hits: word $qw_hits paragraphs / $rw_hits sermons, phrase $qp_hits paragraphs / $rp_hits sermons"
echo "# medians of $runs whole-process runs each, the two programs by turns"
printf '%-8s %15s %10s\n' case quillmark-cli recollq
printf '%-8s %12s ms %7s ms\n' word "$(median <"$work/qw")" "$(median <"$work/rw")"
printf '%-8s %12s ms %7s ms\n' phrase "$(median <"$work/qp")" "$(median <"$work/rp")"
