#!/usr/bin/env bash
# format.sh [--fix]: checks that every C and C++ source file of the project
# follows .clang-format; lists the files that do not and exits 1. With
# --fix, rewrites them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
help_if_asked "$@"
scripts/install-deps.sh clang-format >/dev/null
fix=false
case "${1:-}" in
  --fix) fix=true ;;
  "") ;;
  *) echo "usage: scripts/format.sh [--fix]" >&2; exit 2 ;;
esac
# One clang-format for all the files (a process a file took most of the
# check's time): --dry-run names each line off the style, from which the
# files are listed.
if $fix; then
  git ls-files -z '*.cc' '*.h' '*.c' | xargs -0 clang-format -i
  exit 0
fi
off=$(git ls-files -z '*.cc' '*.h' '*.c' |
  xargs -0 clang-format --dry-run 2>&1 |
  sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' |
  sort -u)
[ -z "$off" ] || {
  sed 's/.*/format: & is off the style (scripts\/format.sh --fix rewrites it)/' <<<"$off"
  exit 1
}
