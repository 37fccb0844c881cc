#!/usr/bin/env bash
# countup_bench.sh [COUNT]: times `echo COUNT | countup`, coreutils'
# `seq -s , 0 COUNT-1` and the printf-per-element baseline side by side in
# one hyperfine run, all writing to /dev/null, and prints countup's ratios
# to both. Target: countup at most 0.8 of seq's time. COUNT defaults to
# 100000000; BUILD_DIR (default build) and RUNS (default 10) may be set.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-100000000}
dir=${BUILD_DIR:-build}
runs=${RUNS:-10}
scripts/install-deps.sh hyperfine python3
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" --target countup countup_printf -j "$(nproc)" >/dev/null
json=$(mktemp)
trap 'rm -f "$json"' EXIT
hyperfine --warmup 1 --runs "$runs" --export-json "$json" \
  -n countup "echo $count | $dir/bin/countup > /dev/null" \
  -n seq "seq -s , 0 $((count - 1)) > /dev/null" \
  -n printf "echo $count | $dir/bench/countup_printf > /dev/null"
python3 - "$json" <<'PY'
import json, sys
r = {x["command"]: x["mean"] for x in json.load(open(sys.argv[1]))["results"]}
print(f"countup / seq:    {r['countup'] / r['seq']:.3f} (target at most 0.8)")
print(f"countup / printf: {r['countup'] / r['printf']:.3f}")
PY
