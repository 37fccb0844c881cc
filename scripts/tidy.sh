#!/usr/bin/env bash
# tidy.sh [FILE...]: runs clang-tidy with the project's .clang-tidy over the
# FILEs named (.cc or .c), or over every source file of the system and its
# clients (tests and fuzz targets included), as many files at a time as there
# are processors; prints the findings and exits 1 on any.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang-tidy
cmake -S . -B build-tidy -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# examples/ is an outside project, built against an installed tree (see
# scripts/check-install.sh), so this build has no compile commands for it.
files() {
  if [ $# -gt 0 ]; then printf '%s\0' "$@"
  else git ls-files -z '*.cc' '*.c' ':!:examples/*'
  fi
}
count=$(files "$@" | tr -cd '\0' | wc -c)
start=$SECONDS
# xargs exits non-zero when any clang-tidy did.
if files "$@" |
    xargs -0 -n 1 -P "$(nproc)" clang-tidy -p build-tidy --quiet 2>/dev/null; then
  echo "tidy: clean ($count files, $((SECONDS - start)) s)"
else
  echo "tidy: findings above" >&2
  exit 1
fi
