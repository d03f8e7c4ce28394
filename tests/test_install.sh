#!/usr/bin/env bash
# The installed program: `cmake --install` into a temporary prefix, then the
# installed files checked as the desktop and a reader meet them. An installed
# program works in the reader's own folder, fills it on its first start, and
# never writes under its prefix.
#   test_install.sh <build folder>
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/quillmark bin/quillmark-cli share/quillmark/setting.ini \
         share/quillmark/style/default.qss share/quillmark/sql/data/kvr_main_ru.sqlite \
         share/quillmark/sql/data/kvr_main_en.sqlite share/quillmark/sql/data/kvr_main_fr.sqlite \
         share/applications/org.example.quillmark.desktop \
         share/metainfo/org.example.quillmark.metainfo.xml \
         share/icons/hicolor/48x48/apps/quillmark.png share/icons/hicolor/256x256/apps/quillmark.png \
         share/man/man1/quillmark.1.gz share/man/man1/quillmark-cli.1.gz \
         share/bash-completion/completions/quillmark-cli share/doc/quillmark/copyright; do
  [ -s "$prefix/$f" ] || fail "not installed: $f"
done
ls "$prefix"/lib*/quillmark/libquillmarkicu.so >/dev/null || fail "the loadable tokenizer is not installed"
gzip -t "$prefix"/share/man/man1/*.gz || fail "a manual page is not a gzip file"
grep -q "Quillmark $(sed -n 's/^project(Quillmark VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")" \
  <(gzip -dc "$prefix/share/man/man1/quillmark-cli.1.gz") || fail "the manual page lacks the version"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/org.example.quillmark.desktop" \
    || fail "desktop-file-validate"
else
  echo "desktop-file-validate not installed: the desktop entry is not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.example.quillmark.metainfo.xml" \
    || fail "appstreamcli validate"
else
  echo "appstreamcli not installed: the metainfo is not validated"
fi

# The first start of the installed tool, with a reader's empty home.
export HOME=$work/home XDG_DATA_HOME=
mkdir -p "$HOME"
touch "$work/before"
sleep 1
out=$("$prefix/bin/quillmark-cli" catalogue --lang en) || fail "catalogue: status $?"
grep -q "^item.*(47-0412)" <<<"$out" || fail "the demo catalogue is not listed: $out"
folder=$HOME/.local/share/quillmark
for f in setting.ini style/default.qss style/dark.qss sql/data/kvr_main_ru.sqlite \
         sql/data/kvr_main_en.sqlite sql/data/kvr_main_fr.sqlite; do
  [ -f "$folder/$f" ] || fail "not seeded: $f"
  [ -w "$folder/$f" ] || fail "seeded read-only: $f"
done
# Seeded once: a database the reader removed stays removed, and the tool
# still works on what is there.
rm "$folder/sql/data/kvr_main_fr.sqlite"
"$prefix/bin/quillmark-cli" search --lang ru "$("$prefix/bin/quillmark-cli" catalogue --lang ru \
  | awk -F'\t' '$1 == "item" { split($3, w, " "); print w[1]; exit }')" >/dev/null \
  || fail "search in the reader's folder: status $?"
[ ! -e "$folder/sql/data/kvr_main_fr.sqlite" ] || fail "the folder was seeded a second time"
written=$(find "$prefix" -newer "$work/before")
[ -z "$written" ] || fail "written under the prefix: $written"

# Completion of the tool's commands and option values.
# shellcheck source=/dev/null
source "$prefix/share/bash-completion/completions/quillmark-cli"
complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=(); _quillmark_cli; echo "${COMPREPLY[*]}"; }
[ "$(complete_words quillmark-cli se)" = "search" ] || fail "command completion"
[ "$(complete_words quillmark-cli catalogue --by "")" = "year name bible" ] || fail "--by completion"
[ "$(complete_words quillmark-cli search --ph)" = "--phrase" ] || fail "option completion"
echo "installed and checked under $prefix"
