#!/usr/bin/env bash
# Sets up and builds only what it runs, and runs Retazo: on the current X display when there is
# one, else a scripted demo inside a private Xvfb that leaves Retazo.bmp and a PNG of the drag.
set -euo pipefail
cd "$(dirname "$0")/.."
# The demo's peers: the picture it photographs and the recorder of the shell's open request.
tree=$(scripts/prepare.sh Retazo pattern_painter open_recorder)

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  # The tool writes Retazo.bmp into its current directory.
  out=$PWD/build/run
  mkdir -p "$out"
  arch=$(tests/rig/wine-arch)
  . scripts/wine-env.sh
  use_wine "$arch"
  export WINEPREFIX=$PWD/build/wine-prefix-$arch
  cd "$out"
  status=0
  "$wine_loader" "../../$tree/Retazo.exe" || status=$?
  echo "Retazo ended with exit code $status; its file is $out/Retazo.bmp"
  exit $status
fi

exec tests/rig/session.sh --screen 1024x768 scripts/demo.sh "$tree"
