#!/usr/bin/env bash
# Installs, with apt-get, the Debian 12 packages that building, running and
# testing Quillmark need, and only those that are missing. Safe to run again.
# With --fuzz it also installs the compiler and run-time libraries of the fuzz build
# (tools/fuzz.sh), with --package what building and checking the Debian
# package needs (tools/package.sh), with --bench the search engine the
# comparison benchmark runs beside quillmark-cli (bench/recoll-compare.sh);
# the normal build and the tests need none of them.
set -euo pipefail

packages=(
  # build
  g++ cmake make pkg-config qtbase5-dev qttools5-dev qttools5-dev-tools qtmultimedia5-dev
  libqt5sql5-sqlite libquazip1-qt5-dev libicu-dev libsqlite3-dev libstemmer-dev
  # run: MP3 playback
  libqt5multimedia5-plugins gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  # resources copied into the program at build time
  famfamfam-flag-png tango-icon-theme fonts-dejavu-core
  # the demo corpus: a complete public-domain Bible
  bible-kjv bible-kjv-text
  # tests: a real window under a virtual X server, the sqlite3 shell, an MP3
  # encoder for the audio player's playback test, pdftotext for printing,
  # and xmllint for the exported exchange files
  xvfb xauth sqlite3 lame poppler-utils libxml2-utils
  # tests: the installed desktop entry and metainfo are validated
  desktop-file-utils appstream
)
for arg in "$@"; do
  case "$arg" in
    --fuzz) packages+=(clang-16 libclang-rt-16-dev libfuzzer-16-dev) ;;
    --package) packages+=(dpkg-dev file lintian) ;;
    # Recoll's command-line programs (recollindex, recollq), without its window
    --bench) packages+=(recollcmd) ;;
    *) echo "usage: $0 [--fuzz] [--package] [--bench]" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
