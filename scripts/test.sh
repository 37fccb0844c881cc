#!/usr/bin/env bash
# test.sh: sets up the machine, then builds and runs every test twice: in the
# normal build (build/) and in the sanitized build (build-sanitize/, x86-64
# with AddressSanitizer and UndefinedBehaviorSanitizer).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
status=0
for config in "build" "build-sanitize -DSANITIZE=ON"; do
  set -- $config
  echo "== tests in $1"
  scripts/build.sh "$@" >/dev/null
  ctest --test-dir "$1" -j "$(nproc)" --output-on-failure || status=1
done
scripts/check-install.sh build || status=1
exit $status
