#!/usr/bin/env bash
# Sets up, builds the product and writes the release zip dist/Retazo-<version>-win32.zip:
# Retazo.exe, LICENSE.txt, README.txt and SHA256SUMS. Prints the zip's name and SHA-256.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >&2
scripts/build.sh i686 release_zip
