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
status=0
while IFS= read -r f; do
  if $fix; then
    clang-format -i "$f"
  elif ! clang-format "$f" | cmp -s "$f" -; then
    echo "format: $f is off the style (scripts/format.sh --fix rewrites it)"
    status=1
  fi
done < <(git ls-files '*.cc' '*.h' '*.c')
exit $status
