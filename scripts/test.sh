#!/usr/bin/env bash
# Sets everything up, builds, and runs every test headless under Xvfb and Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$(scripts/prepare.sh)
exec tests/rig/session.sh ctest --test-dir "$tree" --output-on-failure
