#!/usr/bin/env bash
# test.sh: the whole check, and what CI runs. Installs what is missing, then
# checks the format (clang-format) and the scripts (shellcheck); builds and
# runs every test in the normal build (build/: 32-bit and x86-64, warnings as
# errors) and in the sanitized build (build-sanitize/: x86-64 with
# AddressSanitizer and UndefinedBehaviorSanitizer), and the rootscan and
# sorting tests in a 32-bit sanitized build (build-sanitize32/, where the
# kernel runs 32-bit programs itself); runs clang-tidy on every
# source file beside the builds; and checks the install and the Debian
# packages (scripts/check-install.sh). Prints a line per step with its time
# and result; a step that fails prints what failed in full and the command
# that reruns just that. Exits 0 when every step passed, else 1.
#
# Compiled objects and clang-tidy's verdicts are cached (ccache, and
# ~/.cache/smalltools/tidy), so a second run, or a fresh clone on the same
# machine, redoes only what changed. TEST_LOGS=DIR keeps every step's whole
# output in DIR (default: a temporary folder, removed at the end).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
help_if_asked "$@"
[ $# -eq 0 ] || { echo "usage: scripts/test.sh" >&2; exit 1; }
began=$SECONDS
failed=()
logs=${TEST_LOGS:-}
if [ -z "$logs" ]; then
  logs=$(mktemp -d)
  trap 'rm -rf "$logs"' EXIT
fi
mkdir -p "$logs"

# report NAME START STATUS [DETAIL]: the step's line: its name, result and
# time since START.
report() {
  local result=ok
  [ "$3" = 0 ] || { result=FAILED; failed+=("$1"); }
  printf 'test: %-34s %s%s (%d s)\n' "$1" "$result" "${4:+, $4}" \
    $((SECONDS - $2))
}

# step NAME LOG RERUN COMMAND...: runs COMMAND with its output in LOG; on
# failure prints the output's last 40 lines and RERUN, the command that
# repeats the step.
step() {
  local name=$1 log=$2 rerun=$3 start=$SECONDS rc=0
  shift 3
  "$@" >"$log" 2>&1 || rc=$?
  step_result "$name" "$log" "$rerun" "$start" "$rc"
}

# step_result NAME LOG RERUN START STATUS: a step's line, and on failure the
# last 40 lines of its LOG and RERUN.
step_result() {
  report "$1" "$4" "$5"
  if [ "$5" != 0 ]; then
    tail -n 40 "$2" | sed 's/^/    /'
    echo "    rerun: $3"
  fi
  return 0
}

# run_tests DIR: runs DIR's tests with CTest, then reports them: the count,
# each skipped test with its reason, and for each failure its whole output
# and the command that reruns the failures alone.
run_tests() {
  local dir=$1 start=$SECONDS rc=0 log=$logs/$1.tests.log summary names
  ctest --test-dir "$dir" -j "$(nproc)" --output-on-failure >"$log" 2>&1 ||
    rc=$?
  summary=$(grep -Eo '[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' \
    "$log" || echo "CTest did not finish")
  report "$dir/ tests" "$start" "$rc" "$summary"
  skipped "$dir"
  [ "$rc" != 0 ] || return 0
  # A failed test's output is the block after its result line, up to the
  # next line about another test.
  awk '/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / {
         shown = /\*\*\*(Failed|Not Run|Exception|Timeout)/ }
       /^ +Start +[0-9]+: / { shown = 0; next }
       /^[0-9]+% tests passed/ { shown = 0 }
       shown' "$log" | sed 's/^/    /'
  names=$(sed -n '/^The following tests FAILED:/,$s/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' \
    "$log" | paste -sd '|')
  echo "    rerun: ctest --test-dir $dir --output-on-failure -R '^($names)\$'"
}

# skipped DIR: each test of DIR's last CTest run that skipped itself, with
# the reason it gave (CTest's summary names it only).
skipped() {
  awk '/^\[ RUN      \] / { name = $4; reason = ""; grab = 0; next }
       name != "" && / Skipped$/ { grab = 1; next }
       /^\[  SKIPPED \] / && $4 == name {
         print "    skipped " name ": " reason; name = ""; grab = 0; next }
       grab && NF { reason = reason (reason == "" ? "" : " ") $0 }' \
    "$1/Testing/Temporary/LastTest.log" 2>/dev/null | awk '!seen[$0]++' || true
}

# build DIR CMAKE-OPTION...: configures and builds DIR. On a terminal the
# build shows its progress on one line; elsewhere its output goes to the log
# alone.
build() {
  local dir=$1 start=$SECONDS rc=0 log=$logs/$1.build.log
  if [ -t 1 ]; then
    scripts/build.sh "$@" 2>&1 | tee "$log" || rc=$?
  else
    scripts/build.sh "$@" >"$log" 2>&1 || rc=$?
  fi
  report "$dir/ build" "$start" "$rc"
  if [ "$rc" != 0 ]; then
    grep -E -A3 'error|FAILED' "$log" | head -n 60 | sed 's/^/    /'
    echo "    rerun: scripts/build.sh $*"
  fi
  [ "$rc" = 0 ]
}

start=$SECONDS
scripts/install-deps.sh clang-tidy clang-format shellcheck \
  dpkg-dev debhelper lintian file
report "install what is missing" "$start" 0

# clang-tidy runs beside the builds; its result comes at the end.
tidy_start=$SECONDS
scripts/tidy.sh >"$logs/tidy.log" 2>&1 &
tidy=$!

step "format (clang-format)" "$logs/format.log" "scripts/format.sh" \
  scripts/format.sh
step "scripts (shellcheck)" "$logs/shellcheck.log" "scripts/check-scripts.sh" \
  scripts/check-scripts.sh
configs=("build -DWERROR=ON" "build-sanitize -DSANITIZE=ON -DWERROR=ON")
# The 32-bit sanitized build (the rootscan and sorting tests, where a size
# can wrap as in the programs shipped) needs a kernel that runs 32-bit
# programs itself: the sanitizers' runtimes do not run under qemu-i386.
if [ "$(head -n 1 /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null)" = enabled ]; then
  echo "test: build-sanitize32/ skipped: 32-bit programs run under qemu-i386 here"
else
  configs+=("build-sanitize32 -DSANITIZE=ON -DSANITIZE_32=ON -DWERROR=ON")
fi
for config in "${configs[@]}"; do
  # shellcheck disable=SC2086  # the configuration is words
  set -- $config
  build "$@" || continue
  # The install and the packages are checked from build/ beside the tests
  # and the other builds: the package build and lintian wait mostly on one
  # core, the tests on other processes.
  if [ "$1" = build ]; then
    packages_start=$SECONDS
    scripts/check-install.sh build >"$logs/check-install.log" 2>&1 &
    packages=$!
  fi
  run_tests "$1"
done
if [ -n "${packages:-}" ]; then
  rc=0
  wait "$packages" || rc=$?
  step_result "install and packages (beside)" "$logs/check-install.log" \
    "scripts/check-install.sh build" "$packages_start" "$rc"
else
  echo "test: install and packages skipped: build/ did not build"
fi

rc=0
wait "$tidy" || rc=$?
report "clang-tidy (beside the builds)" "$tidy_start" "$rc" \
  "$(tail -n 1 "$logs/tidy.log" | sed 's/^tidy: //')"
if [ "$rc" != 0 ]; then
  sed 's/^/    /' "$logs/tidy.log" | head -n 80
  echo "    rerun: scripts/tidy.sh FILE..."
fi

total=$((SECONDS - began))
if [ ${#failed[@]} -eq 0 ]; then
  printf 'test: every step passed in %d min %02d s\n' $((total / 60)) $((total % 60))
else
  list=$(printf '%s, ' "${failed[@]}")
  printf 'test: FAILED: %s (%d min %02d s)\n' "${list%, }" $((total / 60)) \
    $((total % 60))
  exit 1
fi
