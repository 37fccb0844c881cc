#!/usr/bin/env bash
# check-scripts.sh: runs shellcheck over every shell script of the project (the
# scripts, the benchmarks' scripts and .ci/run); prints its notes and exits
# 1 on any.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
help_if_asked "$@"
scripts/install-deps.sh shellcheck
mapfile -t files < <(git ls-files '*.sh' .ci/run)
# -x follows the scripts that a script sources (scripts/common.sh).
shellcheck -x "${files[@]}"
echo "shellcheck: clean (${#files[@]} scripts)"
