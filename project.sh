#!/usr/bin/env bash
# One entry point for a fresh machine:
#   ./project.sh run    install what is missing, build, start Quillmark
#   ./project.sh test   install what is missing, build, run every test
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
build="$root/build"
jobs=$(nproc 2>/dev/null || echo 2)

# configure_and_build [target...]: everything when no target is named.
configure_and_build() {
  "$root/scripts/install-deps.sh"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  local targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  cmake --build "$build" -j "$jobs" "${targets[@]}"
}

case "${1:-}" in
  run)
    shift
    configure_and_build quillmark quillmark-cli quillmarkicu make-demo-corpus
    # The demo databases are made once; existing ones are never touched.
    "$build/tools/make-demo-corpus" "$root/demo" "$build/src"
    exec "$build/src/quillmark" "$@"
    ;;
  test)
    shift
    configure_and_build
    cd "$build"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs" "$@"
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
