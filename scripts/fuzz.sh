#!/usr/bin/env bash
# fuzz.sh [SECONDS] [TARGET...]: builds the libFuzzer targets with clang
# (AddressSanitizer and UndefinedBehaviorSanitizer, x86-64) into build-fuzz/
# and runs each TARGET (default: all) for SECONDS (default 60), one per core.
# Each run starts from the target's kept corpus; what it finds lands in
# fuzz-out/<target>/ (crash-*, leak-*, timeout-*, oom-* files: findings,
# which make the run fail) and slow-unit-* files, inputs that merely took
# long under the sanitizers (libFuzzer's -report_slow_units, 10 s), which
# are reported apart and do not. Copy a finding into the target's corpus
# folder once it is fixed, so the tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
help_if_asked "$@"
seconds=${1:-60}
shift || true
scripts/install-deps.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DFUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Every fuzz target of the tree, wherever it is: CMake lists each one with its
# corpus folder (name, a tab, the folder) when it configures the build.
list=$PWD/build-fuzz/fuzz/targets.txt
all=$(cut -f1 "$list" | paste -sd ' ')
read -r -a targets <<<"${*:-$all}"
for name in "${targets[@]}"; do
  grep -q "^$name	" "$list" || {
    echo "fuzz: no fuzz target $name (there are: $all)" >&2
    exit 1
  }
done
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}" >/dev/null

# run_one NAME: runs the target NAME from a copy of its corpus (xargs calls
# it, in a shell of its own).

# shellcheck disable=SC2317  # called through xargs
run_one() {
  local name=$1 src out=$PWD/fuzz-out/$1
  src=$(awk -F '\t' -v name="$name" '$1 == name { print $2 }' "$list")
  rm -rf "$out"
  mkdir -p "$out/corpus"
  cp "$src"/* "$out/corpus/"
  "$PWD/build-fuzz/fuzz/$name" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -artifact_prefix="$out/" -print_final_stats=1 "$out/corpus" \
    >"$out/log" 2>&1 || true
}

export -f run_one
export seconds list
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one {}'

status=0
printf '%-20s %12s %8s %8s %5s %s\n' target executions cov corpus slow findings
for name in "${targets[@]}"; do
  out=fuzz-out/$name
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/log")
  cov=$(grep -o 'cov: [0-9]*' "$out/log" | tail -n 1 | cut -d' ' -f2 || true)
  corp=$(find "$out/corpus" -type f | wc -l)
  slow=$(find "$out" -maxdepth 1 -name 'slow-unit-*' | wc -l)
  found=$(find "$out" -maxdepth 1 -regextype egrep \
    -regex '.*/(crash|leak|timeout|oom)-.*' -printf '%f\n')
  [ -n "$found" ] && status=1
  printf '%-20s %12s %8s %8s %5s %s\n' "$name" "${execs:-?}" "${cov:-?}" \
    "$corp" "$slow" "${found:-none}"
done
exit $status
