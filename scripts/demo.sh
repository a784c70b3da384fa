#!/usr/bin/env bash
# The scripted demo, run inside tests/rig/session.sh: a drag over a known picture, a PNG of the
# screen while dragging, the report box closed with Return, then Retazo.bmp.
#   usage: demo.sh <build tree>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$root/${1:-build}
out=$root/build/demo
rm -rf "$out" && mkdir -p "$out"
cd "$out"

windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

# The shell's "open" of a bitmap is recorded instead of starting a viewer.
"$RETAZO_WINE" reg add 'HKCR\.bmp' /ve /d RetazoDemo.Bitmap /f >/dev/null 2>&1
"$RETAZO_WINE" reg add 'HKCR\RetazoDemo.Bitmap\shell\open\command' /ve \
  /d "\"$(windows_path "$tree/open_recorder.exe")\" \"$(windows_path "$out/open.log")\" \"%1\"" \
  /f >/dev/null 2>&1

wait_for() {  # wait_for <seconds> <command...>: polls until the command succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}
window_named() { xdotool search --onlyvisible --name "$1"; }
fullscreen_tool() { xwininfo -root -tree | grep '"retazo.exe"' | grep -q "${RETAZO_SCREEN}+0+0"; }

# A detailed, known picture on the screen for the tool to photograph.
mkfifo "$out/painter.in"
"$RETAZO_WINE" "$tree/pattern_painter.exe" <"$out/painter.in" >"$out/painter.log" 2>&1 &
exec 3>"$out/painter.in"
wait_for 30 grep -q ready "$out/painter.log" || { echo "demo: the picture did not appear" >&2; exit 1; }

"$RETAZO_WINE" "$tree/Retazo.exe" &
tool=$!
wait_for 30 fullscreen_tool || { echo "demo: Retazo's window did not appear" >&2; exit 1; }
sleep 0.5

xdotool mousemove 200 150 && sleep 0.2 && xdotool mousedown 1
for step in $(seq 1 25); do
  xdotool mousemove $((200 + step * 20)) $((150 + step * 14))
  sleep 0.02
done
sleep 0.3
import -window root "$out/selecting.png"
xdotool mouseup 1

wait_for 30 window_named Programador || { echo "demo: no report box" >&2; exit 1; }
import -window root "$out/report.png"
eval "$(xdotool getwindowgeometry --shell "$(window_named Programador | head -1)")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 20)) && sleep 0.3 && xdotool key Return

status=0
wait "$tool" || status=$?
exec 3>&-
# The shell starts the opener on its own; give it a moment to record the request.
wait_for 15 test -s "$out/open.log" || true
echo "Retazo exited with code $status."
echo "Selection file:       $out/Retazo.bmp ($(stat -c %s "$out/Retazo.bmp" 2>/dev/null || echo missing) bytes)"
echo "Screen while dragging: $out/selecting.png"
echo "Report box:           $out/report.png"
if [ -s "$out/open.log" ]; then
  echo "Shell asked to open:  $(cut -f1 "$out/open.log")"
else
  echo "The shell's open request was not seen."
fi
exit $status
