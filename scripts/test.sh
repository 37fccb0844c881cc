#!/usr/bin/env bash
# test.sh: sets up the machine, then builds and runs every test twice: in the
# normal build (build/) and in the sanitized build (build-sanitize/, x86-64
# with AddressSanitizer and UndefinedBehaviorSanitizer). Says how long each
# build and each test run took.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
status=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for config in "build" "build-sanitize -DSANITIZE=ON"; do
  set -- $config
  start=$SECONDS
  # The build's output is shown only when it fails (Ninja prints compiler
  # messages on standard output).
  scripts/build.sh "$@" >"$log" 2>&1 || { cat "$log"; exit 1; }
  echo "== $1: configured and built in $((SECONDS - start)) s; tests:"
  start=$SECONDS
  ctest --test-dir "$1" -j "$(nproc)" --output-on-failure || status=1
  echo "== $1: tests ran in $((SECONDS - start)) s"
done
scripts/check-install.sh build || status=1
exit $status
