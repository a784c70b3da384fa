#!/usr/bin/env bash
# Configures and builds one architecture: i686 (the product, into build/) or x86_64 (build-x64/);
# all of it, or only the targets named.
#   usage: build.sh [i686|x86_64] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-i686}
[ $# -eq 0 ] || shift
case "$arch" in
  i686) dir=build; extra=() ;;
  x86_64) dir=build-x64; extra=(-DRETAZO_PRODUCT="$PWD/build/Retazo.exe") ;;
  *) echo "build.sh: unknown architecture $arch" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" "${extra[@]}" >/dev/null
cmake --build "$dir" ${1:+--target "$@"}
