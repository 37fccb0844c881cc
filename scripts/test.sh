#!/usr/bin/env bash
# test.sh: sets up the machine, then builds and runs every test twice: in the
# normal build (build/) and in the sanitized build (build-sanitize/, x86-64
# with AddressSanitizer and UndefinedBehaviorSanitizer), both with warnings
# as errors and showing each build's progress; runs clang-tidy beside the
# builds and checks the format; then checks the install and the packages.
# Says how long each build and each test run took.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang-tidy clang-format
status=0
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

trap 'rm -f "$tidy_log"' EXIT
scripts/tidy.sh >"$tidy_log" 2>&1 &
tidy=$!
scripts/format.sh || status=1
for config in "build -DWERROR=ON" "build-sanitize -DSANITIZE=ON -DWERROR=ON"; do
  set -- $config
  start=$SECONDS
  echo "== $1: configuring and building"
  scripts/build.sh "$@"
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
