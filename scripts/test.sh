#!/usr/bin/env bash
# Sets everything up, builds, and runs every test headless under Xvfb and Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh i686
tree=build
if [ "$(tests/rig/wine-arch)" = win64 ]; then
  echo "This host cannot execute 32-bit programs: the tests run the 64-bit build of the same sources."
  scripts/build.sh x86_64
  tree=build-x64
fi
exec tests/rig/session.sh ctest --test-dir "$tree" --output-on-failure
