#!/usr/bin/env bash
# The whole test suite under a sanitizer, in one command:
#
#   tools/sanitize.sh address [ctest arguments...]   AddressSanitizer + UndefinedBehaviorSanitizer
#   tools/sanitize.sh thread  [ctest arguments...]   ThreadSanitizer
#
# Builds into build-asan/ or build-tsan/ (made once, then rebuilt as needed)
# and runs ctest there with the repository's suppression files. Qt, GLib and
# SQLite are not built with the sanitizer; tests/lsan.supp and tests/tsan.supp
# list, with a reason each, what that makes them report. history_size=7 keeps
# the stacks of long runs on the data store's thread (a conversion), without
# which earlier accesses lose their stacks and the suppressions cannot match.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-}
case "$kind" in
  address) build="$root/build-asan" ;;
  thread) build="$root/build-tsan" ;;
  *) echo "usage: $0 address|thread [ctest arguments...]" >&2; exit 2 ;;
esac
shift
"$root/scripts/install-deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_SANITIZE="$kind" >/dev/null
fi
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
cd "$build"
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Full stacks for every allocation: slower, but system libraries built
# without frame pointers would otherwise cut them short, and the leak
# suppressions could then only name whole libraries.
export ASAN_OPTIONS=fast_unwind_on_malloc=0
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp"
export TSAN_OPTIONS="suppressions=$root/tests/tsan.supp history_size=7"
# Two tests spend their threads in libraries of the system, none of them
# built with ThreadSanitizer and none of them this program's: the player's
# playback (GStreamer, its plug-ins and codecs, GLib's locks) and the
# start-up in a real window (the X11, xcb and GL client libraries, which
# free their connections with their locks held at exit). They are left out
# of the thread run; every other test runs.
vcExclude=()
[ "$kind" = thread ] && vcExclude=(-E '^(test_player|test_startup)$')
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" "${vcExclude[@]}" "$@"
