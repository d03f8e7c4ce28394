#!/bin/sh
# Writes the King James Version as a Bible source file for the demo corpus:
# one verse per line, "book<TAB>chapter<TAB>verse<TAB>text", in book order.
# The text comes from Debian's bible-kjv-text package through the reader of
# the bible-kjv package, so nothing is downloaded and nothing is committed.
#
# usage: extract-kjv-bible.sh <output file>
set -eu

out=${1:?usage: extract-kjv-bible.sh <output file>}

if ! command -v bible >/dev/null 2>&1; then
    echo "extract-kjv-bible.sh: the 'bible' reader is missing (Debian packages bible-kjv and bible-kjv-text)" >&2
    exit 1
fi

mkdir -p "$(dirname "$out")"
raw="$out.raw"
part="$out.part"
trap 'rm -f "$raw" "$part"' EXIT

# The reader prints a "Book chapter" line whenever the chapter changes and
# "  verse text" for each verse; a wide line keeps every verse on one line.
bible -l 20000 'Gen1:1-Rev22:21' </dev/null >"$raw"

awk '
    /^  [0-9]+ / {
        sub(/^  /, "")
        blank = index($0, " ")
        printf "%s\t%s\t%s\t%s\n", book, chapter, substr($0, 1, blank - 1), substr($0, blank + 1)
        verses++
        next
    }
    /^[^ ].* [0-9]+$/ {
        chapter = $NF
        book = $0
        sub(/ [0-9]+$/, "", book)
        next
    }
    END { if (verses != 31102) { print "unexpected verse count " verses > "/dev/stderr"; exit 1 } }
' "$raw" >"$part"

# Replaced in one step, so that a reader never sees half a Bible.
mv "$part" "$out"
