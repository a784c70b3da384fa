#!/usr/bin/env bash
# Sets everything up, builds, writes the release zip, and runs every test headless under Xvfb and
# Wine: the end-to-end tests on a bare display and again under a window manager, side by side
# with the reproducible and second-compiler builds of the product.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests >&2
tree=$(scripts/prepare.sh)
scripts/build.sh i686 release_zip >&2
exec tests/rig/session.sh ctest --test-dir "$tree" --output-on-failure --parallel 2
