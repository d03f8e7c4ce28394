#!/usr/bin/env bash
# The Debian package, in one command: tools/package.sh [build folder]
# Installs what packaging needs (scripts/install-deps.sh --package), builds,
# makes quillmark_<version>_<arch>.deb with CPack in the build folder
# (default build/) and checks it with lintian. Install it with
#   sudo apt-get install ./build/quillmark_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/install-deps.sh" --package
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/quillmark_*.deb | head -n 1)
echo "$deb"
dpkg-deb --field "$deb" Package Version Architecture Depends
lintian --fail-on error "$deb"
