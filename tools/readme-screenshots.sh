#!/usr/bin/env bash
# Pictures for the README, taken from the real program on the demo corpus:
#   tools/readme-screenshots.sh BUILD_DIR OUT_DIR
# BUILD_DIR is a built tree (quillmark and make-demo-corpus in it); OUT_DIR
# receives reading.png, search.png and update.png. The program runs on a
# virtual X server of its own, in a temporary copy of its application folder,
# with a loopback update server that offers three update files, so the
# build tree and the user's settings stay untouched.
# Needs Xvfb, xdotool, ImageMagick's import and convert, and python3.
# KEEP=1 keeps the temporary folder (the program's log is in it).
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR OUT_DIR" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
for tool in Xvfb xdotool import convert python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${KEEP:-}" ] && echo "kept $work" >&2 || rm -rf "$work"
}
trap cleanup EXIT

# The first display number nobody holds.
display=90
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
  display=$((display + 1))
done
Xvfb ":${display}" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":${display}"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

app="$work/app"
mkdir -p "$app"
cp "$build/src/quillmark" "$app/"
cp -r "$build/src/style" "$app/"

# The version list names one update per data language; nothing is installed
# yet, so all three are offered.
mkdir -p "$work/www/zudoru26"
printf 'en_1.txt\nru_1.txt\nfr_1.txt\n' >"$work/www/zudoru26/version.txt"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/www" >"$work/http.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  python3 -c "import urllib.request as u; u.urlopen('http://127.0.0.1:$port/zudoru26/version.txt')" \
    2>/dev/null && break
  sleep 0.1
done
sed -e 's/^Language=.*/Language=en/' -e 's/^DataLanguage=.*/DataLanguage=en/' \
  -e "s/^UpdateServer=.*/UpdateServer=127.0.0.1:$port/" "$root/setting.ini" >"$app/setting.ini"
"$build/tools/make-demo-corpus" "$root/demo" "$app" >"$work/corpus.log" 2>&1 ||
  { cat "$work/corpus.log" >&2; exit 1; }

# wait_window PATTERN: the id of the first visible window whose title matches.
wait_window() {
  for _ in $(seq 100); do
    local id
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window named $1 appeared" >&2
  return 1
}
# shoot FILE [WINDOW]: the screen, or one window, in at most 256 colours.
shoot() {
  sleep 1
  import -window "${2:-root}" "$work/shot.png"
  convert "$work/shot.png" -colors 256 "$1"
}
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep 0.6; }

(cd "$app" && exec ./quillmark) >"$work/quillmark.log" 2>&1 &
pids+=($!)

# The update dialog comes before the main window.
dialog=$(wait_window '^Updating$')
shoot "$out/update.png" "$dialog"
xdotool key --window "$dialog" Escape

# A sermon with its Russian translation beside it. The coordinates are those
# of the maximised window on a 1280x800 screen.
for _ in $(seq 100); do grep -q 'Main window painted' "$work/quillmark.log" && break; sleep 0.1; done
sleep 1
click 16 201                          # expand every year
xdotool mousemove 200 160 click --repeat 2 --delay 80 1
sleep 1.5
click 800 600                         # focus the text, nothing selected
click 605 100                         # the Translation menu
click 606 128                         # Russian, the first language in it
shoot "$out/reading.png"

# A search over the English sermons.
click 680 36
xdotool type --delay 40 light
xdotool key Return
shoot "$out/search.png"
echo "written: $out/reading.png $out/search.png $out/update.png"
