#!/usr/bin/env bash
# Runs a command inside a private X display (Xvfb) and a private Wine prefix with its own
# wineserver, then tears both down; with --window-manager, openbox manages the display as on a
# desktop; with --wine 10, Debian 13's Wine runs from its root (scripts/wine10-root.sh) inside a
# private mount namespace, so nothing stays mounted afterwards; with --dpi N the desktop is
# scaled to N dots per inch; with --primary-monitor WxH, Wine's primary monitor is WxH at the
# top left of the X screen, and the rest of the screen another monitor, so that the pointer can
# leave a full-screen window as on a desktop with two monitors. The command sees DISPLAY,
# WINEPREFIX, RETAZO_WINE (the Wine loader to use), RETAZO_WINE_ARCH, RETAZO_WINE_VERSION,
# RETAZO_SCREEN (WxH), RETAZO_PRIMARY_MONITOR (WxH: the screen's size unless given), RETAZO_DPI
# and RETAZO_WINDOW_MANAGER (openbox or none).
#   usage: session.sh [--screen WxH] [--primary-monitor WxH] [--window-manager] [--wine 8|10]
#                     [--dpi N] command args...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
arguments=("$@")

screen=${RETAZO_SCREEN:-1024x768}
primary_monitor=""
window_manager=none
wine_version=8
dpi=96
while true; do
  case "${1:-}" in
    --screen) screen=$2; shift 2 ;;
    --primary-monitor) primary_monitor=$2; shift 2 ;;
    --window-manager) window_manager=openbox; shift ;;
    --wine) wine_version=$2; shift 2 ;;
    --dpi) dpi=$2; shift 2 ;;
    *) break ;;
  esac
done

if [ "$wine_version" = 10 ]; then
  wine_root=$("$root/scripts/wine10-root.sh" --path)
  [ -f "$wine_root/.complete" ] || { echo "session: no Wine 10 root; run scripts/setup.sh --tests" >&2; exit 1; }
  if [ -z "${RETAZO_MOUNT_NAMESPACE:-}" ]; then
    exec unshare --mount --propagation private env RETAZO_MOUNT_NAMESPACE=1 "$0" "${arguments[@]}"
  fi
  # Paths are the same inside the root and out: the X socket, prefixes and work folders.
  for folder in /proc /sys /dev /tmp "$root" "${TMPDIR:-/tmp}"; do
    mkdir -p "$wine_root$folder"
    mount --rbind "$folder" "$wine_root$folder"
  done
fi

# shellcheck source=../../scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
arch=$("$here/wine-arch" "${wine_root:-}")
export RETAZO_WINE_ARCH=$arch RETAZO_SCREEN=$screen RETAZO_WINDOW_MANAGER=$window_manager
export RETAZO_PRIMARY_MONITOR=${primary_monitor:-$screen}
export RETAZO_WINE_VERSION=$wine_version RETAZO_DPI=$dpi
export LC_ALL=C.UTF-8   # Wine's ANSI code page is then 1252

work=$(mktemp -d "${TMPDIR:-/tmp}/retazo-session.XXXXXX")
# The loader and server of the Wine asked for, as programs the command can start.
wine_program() {
  if [ "$wine_version" = 10 ]; then
    printf '#!/bin/sh\nexec chroot %q /bin/sh -c '\''cd "$0" && exec %q "$@"'\'' "$PWD" "$@"\n' \
      "$wine_root" "$1" >"$work/$2"
    chmod +x "$work/$2"
    echo "$work/$2"
  else
    echo "$1"
  fi
}
use_wine "$arch" "${wine_root:-}"
RETAZO_WINE=$(wine_program "$wine_loader" wine)
WINESERVER=$(wine_program "$wine_server" wineserver)
export RETAZO_WINE WINESERVER

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
# Xvfb puts a second screen at the origin of the first, as a second Xinerama head.
screens=(-screen 0 "${screen}x24")
[ -z "$primary_monitor" ] || screens+=(-screen 1 "${primary_monitor}x24" +xinerama)
Xvfb -displayfd "$displayfd" "${screens[@]}" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
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

# A pristine prefix is made once per architecture and Wine, and copied for each session. It is
# marked complete only when its first boot and settings succeeded.
pristine="$root/build/wine-pristine-$arch"
[ "$wine_version" = 8 ] || pristine="$pristine-wine$wine_version"
if [ ! -f "$pristine/.complete" ]; then
  rm -rf "$pristine"
  mkdir -p "$(dirname "$pristine")"
  if WINEPREFIX="$pristine" timeout 300 "$RETAZO_WINE" wineboot -i >"$work/wineboot.log" 2>&1 &&
    WINEPREFIX="$pristine" timeout 60 "$RETAZO_WINE" reg add 'HKCU\Software\Wine\WineDbg' \
      /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$work/wineboot.log" 2>&1 &&
    WINEPREFIX="$pristine" timeout 60 "$WINESERVER" -w; then
    touch "$pristine/.complete"
  else
    echo "session: the Wine prefix $pristine could not be made" >&2
    tail -20 "$work/wineboot.log" >&2
    rm -rf "$pristine"
    exit 1
  fi
fi
export WINEPREFIX="$work/prefix"
cp -a "$pristine" "$WINEPREFIX"
"$WINESERVER" -p >/dev/null 2>&1 || true
if [ "$dpi" != 96 ]; then
  timeout 60 "$RETAZO_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$dpi" /f >/dev/null 2>&1
fi
# XRandR reports the first screen alone; Wine's Xinerama view has both heads, the second primary.
# The server starts again, since the desktop process read the monitors when it started.
if [ -n "$primary_monitor" ]; then
  for setting in UseXRandR=N PrimaryMonitor=1; do
    timeout 60 "$RETAZO_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v "${setting%%=*}" \
      /d "${setting#*=}" /f >/dev/null 2>&1
  done
  timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
  timeout 20 "$WINESERVER" -w >/dev/null 2>&1 || true
  "$WINESERVER" -p >/dev/null 2>&1 || true
fi
# The first Wine process of a prefix starts background services that would inherit the
# command's output pipes and keep a caller such as ctest waiting; start them detached now.
timeout 120 "$RETAZO_WINE" wineboot >/dev/null 2>&1 </dev/null || true

set +e
"$@"
status=$?
set -e
exit $status
