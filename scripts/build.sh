#!/usr/bin/env bash
# build.sh [--target TARGET]... [DIR [CMAKE-OPTION...]]: configures the
# project into DIR (default build/), optimised, and builds everything, or
# only the TARGETs named and what they need, showing the build's progress.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
help_if_asked "$@"
targets=()
while [ "${1:-}" = --target ]; do
  targets+=(--target "${2:?--target needs a target}")
  shift 2
done
dir=${1:-build}
shift || true
# A new build directory gets Ninja when it is there (scripts/install-deps.sh
# installs it): it compiles a target's sources while the libraries it links
# are still being built, where Make waits, which took a build on two cores
# from 44 s to 33 s. A directory configured before keeps its generator.
generator=()
if [ ! -e "$dir/CMakeCache.txt" ] && command -v ninja >/dev/null; then
  generator=(-G Ninja)
fi
# Compilers run through ccache when it is there (install-deps.sh installs
# it): a build folder configured here takes what it can from the cache.
use_ccache "$PWD"
cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null

# Passes the build's output through, with Ninja's progress lines ("[12/80]
# Building ...") thinned: on a terminal each overwrites the one before, cut
# to the terminal's width; elsewhere (a log, CI) one line per tenth of the
# build is kept. Any other line (a compiler's message) stays as it is.
progress() {
  local line cols=0 tenth=-1
  if [ -t 1 ]; then
    cols=$(stty size </dev/tty 2>/dev/null | cut -d' ' -f2) || true
    [ -n "$cols" ] && [ "$cols" -gt 1 ] || cols=80
  fi
  while IFS= read -r line; do
    if [[ ! $line =~ ^\[([0-9]+)/([0-9]+)\]\  ]]; then
      [ "$cols" = 0 ] || printf '\r\033[K'
      printf '%s\n' "$line"
    elif [ "$cols" != 0 ]; then
      printf '\r\033[K%s' "${line:0:cols-1}"
    elif ((BASH_REMATCH[1] * 10 / BASH_REMATCH[2] > tenth)); then
      tenth=$((BASH_REMATCH[1] * 10 / BASH_REMATCH[2]))
      printf '%s\n' "$line"
    fi
  done
  [ "$cols" = 0 ] || printf '\r\033[K'
}
cmake --build "$dir" -j "$(nproc)" "${targets[@]}" 2>&1 | progress
