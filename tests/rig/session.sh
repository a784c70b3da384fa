#!/usr/bin/env bash
# Runs a command inside a private X display (Xvfb) and a private Wine prefix with its own
# wineserver, then tears both down; with --window-manager, openbox manages the display as on a
# desktop. The command sees DISPLAY, WINEPREFIX, RETAZO_WINE (the Wine loader to use),
# RETAZO_WINE_ARCH, RETAZO_SCREEN (WxH) and RETAZO_WINDOW_MANAGER (openbox or none).
#   usage: session.sh [--screen WxH] [--window-manager] command args...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

screen=${RETAZO_SCREEN:-1024x768}
window_manager=none
while true; do
  case "${1:-}" in
    --screen) screen=$2; shift 2 ;;
    --window-manager) window_manager=openbox; shift ;;
    *) break ;;
  esac
done

arch=$("$here/wine-arch")
export RETAZO_WINE_ARCH=$arch WINEARCH=$arch RETAZO_SCREEN=$screen RETAZO_WINDOW_MANAGER=$window_manager
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8   # Wine's ANSI code page is then 1252
if [ "$arch" = win32 ]; then
  export RETAZO_WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
  [ -x "$WINESERVER" ] || export WINESERVER=/usr/lib/wine/wineserver64
else
  export RETAZO_WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/retazo-session.XXXXXX")
xvfb_pid=""
wm_pid=""
cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a display number nobody uses and tells us which, so that sessions started at the
# same moment never share a display (and with it an X clipboard).
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 "${screen}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
read -r -t 30 -u "$displayfd" display || true
exec {displayfd}>&-
[ -n "$display" ] || { echo "session: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
display=":$display"
export DISPLAY=$display

# The window manager comes before any Wine window, as on a desktop. It has taken the display
# once it names its check window on the root window.
if [ "$window_manager" = openbox ]; then
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 1 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    kill -0 "$wm_pid" 2>/dev/null || break
    sleep 0.1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" ||
    { echo "session: openbox did not start" >&2; cat "$work/openbox.log" >&2; exit 1; }
fi

# A pristine prefix is made once per architecture and copied for each session.
pristine="$root/build/wine-pristine-$arch"
if [ ! -f "$pristine/.complete" ]; then
  rm -rf "$pristine"
  mkdir -p "$(dirname "$pristine")"
  WINEPREFIX="$pristine" timeout 300 "$RETAZO_WINE" wineboot -i >/dev/null 2>&1 || true
  WINEPREFIX="$pristine" timeout 60 "$RETAZO_WINE" reg add 'HKCU\Software\Wine\WineDbg' \
    /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  WINEPREFIX="$pristine" timeout 60 "$WINESERVER" -w
  touch "$pristine/.complete"
fi
export WINEPREFIX="$work/prefix"
cp -a "$pristine" "$WINEPREFIX"
"$WINESERVER" -p >/dev/null 2>&1 || true
# The first Wine process of a prefix starts background services that would inherit the
# command's output pipes and keep a caller such as ctest waiting; start them detached now.
timeout 120 "$RETAZO_WINE" wineboot >/dev/null 2>&1 </dev/null || true

set +e
"$@"
status=$?
set -e
exit $status
