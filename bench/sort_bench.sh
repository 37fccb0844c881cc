#!/usr/bin/env bash
# sort_bench.sh [COUNT]: times `sort COUNT` against the std::stable_sort
# baseline on the same draw (both 32-bit), side by side in one hyperfine run,
# and prints the ratio; then times quicksort and q_sort against std::sort.
# Target: sort at most 0.85 of the baseline's time.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-10000000}
scripts/install-deps.sh hyperfine
scripts/build.sh build >/dev/null
json=$(mktemp)
trap 'rm -f "$json"' EXIT
hyperfine --warmup 1 --runs 10 --export-json "$json" \
  -n sort "build/bin/sort $count" -n stable_sort "build/bench/sort_baseline $count"
python3 - "$json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
ratio = r["sort"]["mean"] / r["stable_sort"]["mean"]
print(f"sort / std::stable_sort: {ratio:.3f} (target at most 0.85)")
PY
build/bench/quicksort_bench "$count"
