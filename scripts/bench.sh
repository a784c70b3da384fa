#!/usr/bin/env bash
# Runs every benchmark at each screen size and prints one table: the tool against the plain
# platform (GDI, memcpy, one WriteFile, a minimal Wine program) and against Flameshot, each
# figure a median of several runs and each comparison a ratio taken within the same runs. The
# display has a window manager, as a desktop does, unless --bare-x asks for a bare Xvfb.
#   usage: scripts/bench.sh [--bare-x]            (all sizes, 5 runs)
#   environment: BENCH_SIZES="1920x1080 3840x2160 7680x4320", BENCH_RUNS=5,
#                BENCH_STEADY_MOVES=10000 (at the first size only), BENCH_OUT=results file
set -euo pipefail
cd "$(dirname "$0")/.."
window_manager=(--window-manager) display="Xvfb with openbox"
if [ "${1:-}" = "--bare-x" ]; then window_manager=() display="bare Xvfb"; shift; fi
scripts/setup.sh
# The desktop's window manager that the benchmarks run under, unless --bare-x.
scripts/apt-install.sh openbox
sizes=${BENCH_SIZES:-1920x1080 3840x2160 7680x4320}
runs=${BENCH_RUNS:-5}
steady=${BENCH_STEADY_MOVES:-10000}
out=${BENCH_OUT:-build-bench/bench-results.jsonl}

# The programs must run here: on a host that cannot execute 32-bit programs they are the x86_64
# build of the same sources.
processor=i686
[ "$(tests/rig/wine-arch)" = win64 ] && processor=x86_64
cmake -S . -B build-bench -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$processor.cmake" >/dev/null
cmake --build build-bench

flameshot=()
scripts/apt-install.sh flameshot >&2 ||
  echo "bench: Flameshot could not be installed; its columns stay empty" >&2
command -v flameshot >/dev/null || flameshot=(--no-flameshot)

rm -f "$out"
first=1
for size in $sizes; do
  steady_moves=0
  [ "$first" = 1 ] && steady_moves=$steady
  first=0
  echo "bench: $size" >&2
  tests/rig/session.sh --screen "$size" "${window_manager[@]}" python3 bench/run_bench.py --build "$PWD/build-bench" --out "$PWD/$out" \
    --runs "$runs" --steady-moves "$steady_moves" "${flameshot[@]}"
done

echo "Display: $display; programs built for $processor"
echo "Machine: $(nproc) CPUs, $(lscpu | sed -n 's/^Model name: *//p'); Wine $(. scripts/wine-env.sh && use_wine "$(tests/rig/wine-arch)" && "$wine_loader" --version 2>/dev/null || true)"
python3 bench/report.py "$out"
