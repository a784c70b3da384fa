#!/usr/bin/env bash
# Sets up what building and running need (scripts/setup.sh) and builds the targets named, or all,
# in the build tree whose programs this host can run, which it prints: build/, or build-x64/ on a
# host that cannot execute 32-bit programs.
#   usage: prepare.sh [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >&2
if [ "$(tests/rig/wine-arch)" = win64 ]; then
  echo "This host cannot execute 32-bit programs: using the 64-bit build of the same sources." >&2
  # The shipped product is still built; its 32-bit test programs could not run here.
  scripts/build.sh i686 Retazo >&2
  scripts/build.sh x86_64 "$@" >&2
  echo build-x64
else
  scripts/build.sh i686 "$@" >&2
  echo build
fi
