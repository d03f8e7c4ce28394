#!/usr/bin/env bash
# Start-up figures of the program: time from launch to the first painted main
# window, and resident memory once it is idle. Starts the program RUNS times
# (default 7) in a scratch application folder under a virtual X server and
# prints the medians as "<case> <median> <unit>" lines.
#
#   bench/startup.sh [build-dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-7}
program="$build/src/quillmark"
[ -x "$program" ] || { echo "no program at $program; build first" >&2; exit 2; }

work=$(mktemp -d)
trap 'kill ${xvfb_pid:-} 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$program" "$work/"
cp "$(dirname "$0")/../setting.ini" "$work/setting.ini"

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

paint_ms=()
rss_kib=()
for i in $(seq "$runs"); do
  log="$work/run$i.log"
  start=$(date +%s%N)
  DISPLAY=$display QT_QPA_PLATFORM=xcb "$work/quillmark" 2>"$log" &
  pid=$!
  until grep -q "Main window painted" "$log" 2>/dev/null; do
    kill -0 "$pid" 2>/dev/null || { echo "program ended early:" >&2; cat "$log" >&2; exit 1; }
    sleep 0.005
  done
  end=$(date +%s%N)
  paint_ms+=($(( (end - start) / 1000000 )))
  sleep 3
  rss_kib+=($(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status"))
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done

echo "startup to painted window $(printf '%s\n' "${paint_ms[@]}" | median) ms"
echo "resident memory at idle $(( $(printf '%s\n' "${rss_kib[@]}" | median) / 1024 )) MiB"
