#!/usr/bin/env bash
# coverage.sh [DIR]: builds the project with gcov's counters into DIR
# (default build-coverage/, a build folder of its own), runs every test
# there, and prints the line and branch coverage of each shipped unit (a
# unit's .h and .cc together), least covered first, then the totals. The
# HTML report, every shipped file line by line, goes to DIR/coverage/.
# Run by hand; the test command does not run it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --help ] || [ "${1:-}" = -h ]; then
  sed -n '2,7s/^# \{0,1\}//p' "$0"
  exit 0
fi
dir=${1:-build-coverage}
scripts/install-deps.sh gcovr

# Counters from an earlier run would add to this one's, and a test binary
# run while it is built (to list its tests) would complain of their
# checksums.
find "$dir" -name '*.gcda' -delete 2>/dev/null || true

# Unoptimised (-O0, the Debug build type), so that each line's count is its
# own; the hardening flags are left out, as _FORTIFY_SOURCE needs an
# optimised build. Both architectures are built, as in the normal build.
start=$SECONDS
scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Debug -DHARDENING=OFF \
  -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage \
  -DCMAKE_EXE_LINKER_FLAGS=--coverage
echo "coverage: built in $((SECONDS - start)) s"
find "$dir" -name '*.gcda' -delete

# Tests whose child runs under a limit on file size (wordgame's, under
# ulimit -f) cannot pass here: the limit kills the child (SIGXFSZ, status
# 153) as it writes its counters at exit, and a counters file cut short
# spoils the figures of every later run. They run apart, after the rest,
# with their counters sent to a folder that is then thrown away.
apart='FileSizeLimit|NoRoomForTheList'
start=$SECONDS
log=$dir/coverage-tests.log
failures() {
  sed -n '/^The following tests FAILED:/,$p' "$1" |
    grep -E '^[[:space:]]*[0-9]+ - ' || true
}
if ctest --test-dir "$dir" -j "$(nproc)" -E "$apart" --output-on-failure \
     >"$log" 2>&1; then
  echo "coverage: tests passed in $((SECONDS - start)) s"
else
  echo "coverage: some tests failed ($((SECONDS - start)) s; see $log):"
  failures "$log"
fi
discarded=$(cd "$dir" && pwd)/discarded-counters
GCOV_PREFIX=$discarded ctest --test-dir "$dir" -R "$apart" \
  >"$log.apart" 2>&1 || true
rm -rf "$discarded"
echo "coverage: $(grep -c ' Test *#' "$log.apart") tests under a file size" \
  "limit ran apart, their counters discarded"
if grep -q 'libgcov profiling error' "$log"; then
  echo "coverage: counters were damaged (libgcov profiling error in $log):" \
    "the figures below are not to be trusted"
fi

# The shipped code: the programs, the modules and what they compile in;
# not the tests, the fuzz targets, the test helpers, the benchmarks or the
# clients that only show how to link the modules (keytable). Branches that
# only an exception's unwinding takes, or that the compiler proved can never
# be taken, are left out of the branch figures.
out=$dir/coverage
rm -rf "$out"
mkdir -p "$out"
gcovr -r . "$dir" -j "$(nproc)" \
  --filter '(sorting|game|rootscan|trimprimes|countup|hash|progutil)/' \
  --filter 'clients/wordgame/' \
  --exclude '.*_(test|fuzz)\.cc$' --exclude '.*(_testing|_adversary)\.h$' \
  --exclude-throw-branches --exclude-unreachable-branches \
  --json-summary "$out/summary.json" \
  --html-details "$out/index.html" --html-title "smalltools coverage"

python3 - "$out/summary.json" <<'EOF'
import json, os, sys
summary = json.load(open(sys.argv[1]))
units = {}
for f in summary["files"]:
    # A header reached through a wordgame layer's link in the build tree
    # is counted with its unit in the source tree.
    unit = os.path.splitext(os.path.relpath(os.path.realpath(f["filename"])))[0]
    u = units.setdefault(unit, [0, 0, 0, 0])
    u[0] += f["line_covered"]
    u[1] += f["line_total"]
    u[2] += f["branch_covered"]
    u[3] += f["branch_total"]

def share(covered, total):
    if total == 0:
        return "       -         "
    return f"{100 * covered / total:5.1f}% {f'({covered}/{total})':>11}"

rows = sorted(units.items(),
              key=lambda kv: (kv[1][0] / kv[1][1] if kv[1][1] else 1, kv[0]))
width = max(len(unit) for unit in units)
print(f"{'unit':<{width}}  {'lines':<18}  branches")
for unit, (lc, lt, bc, bt) in rows:
    print(f"{unit:<{width}}  {share(lc, lt)}  {share(bc, bt)}")
print(f"{'total':<{width}}  "
      f"{share(summary['line_covered'], summary['line_total'])}  "
      f"{share(summary['branch_covered'], summary['branch_total'])}")
EOF
echo "coverage: report in $out/index.html"
