#!/usr/bin/env bash
# tidy.sh: runs clang-tidy with the project's .clang-tidy over every source
# file of the system and its clients (tests and fuzz targets included);
# exits 1 on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang-tidy
cmake -S . -B build-tidy -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# examples/ is an outside project, built against an installed tree (see
# scripts/check-install.sh), so this build has no compile commands for it.
files=$(git ls-files '*.cc' '*.c' ':!:examples/*')
status=0
for f in $files; do
  clang-tidy -p build-tidy --quiet "$f" 2>/dev/null || status=1
done
[ $status = 0 ] && echo "tidy: clean ($(echo "$files" | wc -w) files)"
exit $status
