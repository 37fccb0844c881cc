#!/usr/bin/env bash
# build.sh [DIR [CMAKE-OPTION...]]: configures and builds the project into DIR
# (default build/), optimised.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
