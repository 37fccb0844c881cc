#!/usr/bin/env bash
# roots_bench.sh [--x86-64] [SECONDS]: times rootscan --roots's work
# (bench/roots_bench.cc) on polynomials of degree 5, 10, 20 and 30 whose
# roots are all real, in processor time per call, each for SECONDS (default
# 0.5) five times over, keeping the fastest. Target: degree 20 with 20 real
# roots in under 1 ms. The program is the Release build's in build/ (32-bit,
# as rootscan ships); --x86-64 builds it for x86-64 in build-bench64/
# (configured with -DX86_64_ONLY=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build
x86_64_only=OFF
bits="32-bit x86"
if [ "${1:-}" = --x86-64 ]; then
  dir=build-bench64 x86_64_only=ON bits=x86-64
  shift
fi
case ${1:-} in
  -*) echo "usage: roots_bench.sh [--x86-64] [SECONDS]" >&2; exit 1 ;;
esac
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DX86_64_ONLY=$x86_64_only >/dev/null
cmake --build "$dir" -j "$(nproc)" --target roots_bench >/dev/null
echo "program: $bits ($dir)"
"$dir/bench/roots_bench" "$@"
