#!/usr/bin/env bash
# test.sh: sets up the machine, then builds and runs every test twice: in the
# normal build (build/) and in the sanitized build (build-sanitize/, x86-64
# with AddressSanitizer and UndefinedBehaviorSanitizer), both with warnings
# as errors; runs clang-tidy beside the builds and checks the format. Says
# how long each build and each test run took.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang-tidy clang-format
status=0
log=$(mktemp)
tidy_log=$(mktemp)

# Prints each test of the last CTest run in build folder $1 that skipped
# itself, with the reason it gave (CTest's summary names it only).
skip_reasons() {
  awk '/^\[ RUN      \] / { name = $4; reason = ""; grab = 0; next }
       name != "" && / Skipped$/ { grab = 1; next }
       /^\[  SKIPPED \] / && $4 == name {
         print "   skipped " name ": " reason; name = ""; grab = 0; next }
       grab && NF { reason = reason (reason == "" ? "" : " ") $0 }' \
    "$1/Testing/Temporary/LastTest.log" 2>/dev/null || true
}

trap 'rm -f "$log" "$tidy_log"' EXIT
scripts/tidy.sh >"$tidy_log" 2>&1 &
tidy=$!
scripts/format.sh || status=1
for config in "build -DWERROR=ON" "build-sanitize -DSANITIZE=ON -DWERROR=ON"; do
  set -- $config
  start=$SECONDS
  # The build's output is shown only when it fails (Ninja prints compiler
  # messages on standard output).
  scripts/build.sh "$@" >"$log" 2>&1 || { cat "$log"; exit 1; }
  echo "== $1: configured and built in $((SECONDS - start)) s; tests:"
  start=$SECONDS
  ctest --test-dir "$1" -j "$(nproc)" --output-on-failure || status=1
  skip_reasons "$1"
  echo "== $1: tests ran in $((SECONDS - start)) s"
done
start=$SECONDS
scripts/check-install.sh build || status=1
echo "== check-install ran in $((SECONDS - start)) s"
wait $tidy || status=1
cat "$tidy_log"
exit $status
