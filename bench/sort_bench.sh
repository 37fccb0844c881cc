#!/usr/bin/env bash
# sort_bench.sh [--x86-64] [--chart FILE.png] [--limit SECONDS] [COUNT [SHAPES]]
#
# Benchmarks the sorting routines:
#  1. the whole process `sort COUNT` (default 10,000,000) against the
#     std::stable_sort baseline on the same draw (bench/sort_baseline.cc),
#     side by side in one hyperfine run, and their ratio (target: at most
#     0.45);
#  2. quicksort, q_sort and mergesort against std::sort, std::stable_sort and
#     Boost's pdqsort, integer_sort and flat_stable_sort on 1,000,000 and
#     COUNT random values, best of 5 runs in which each routine runs in turn
#     (bench/quicksort_bench.cc);
#  3. the table of input shapes on SHAPES values (default 1,000,000), the
#     same routines in every row, best of 3 runs in which each routine runs
#     in turn, each run bounded by an alarm of SECONDS (default 15)
#     (bench/sort_shapes.cc);
#  4. with --chart, a gnuplot chart of nanoseconds per element against the
#     number of random values, 10^3 to COUNT, for every routine.
# The routines are timed by the processor time they use, so that other work
# on the machine disturbs the figures less; run it on a quiet machine all the
# same.
#
# The programs are those of the Release build in build/ (32-bit, as shipped).
# With --x86-64 they are built for x86-64 instead, in build-bench64/: the same
# sources and flags (Release: -O3 -DNDEBUG), configured with -DX86_64_ONLY=ON.
# Use it where 32-bit programs only run under an emulator. Installs
# hyperfine, libboost-dev (the peers' headers) and, for --chart, gnuplot-nox
# when missing, through scripts/install-deps.sh; needs nothing else beyond the
# build tools.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
x86_64_only=OFF
bits="32-bit x86"
chart=""
limit=15
while [ $# -gt 0 ]; do
  case $1 in
    --x86-64) dir=build-bench64 x86_64_only=ON bits=x86-64; shift ;;
    --chart) chart=${2:?--chart needs a file name}; shift 2 ;;
    --limit) limit=${2:?--limit needs seconds}; shift 2 ;;
    -*) echo "usage: sort_bench.sh [--x86-64] [--chart FILE.png] [--limit SECONDS] [COUNT [SHAPES]]" >&2; exit 1 ;;
    *) break ;;
  esac
done
count=${1:-10000000}
shapes=${2:-1000000}

deps=(hyperfine libboost-dev)
[ -n "$chart" ] && deps+=(gnuplot-nox)
scripts/install-deps.sh "${deps[@]}"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DX86_64_ONLY=$x86_64_only >/dev/null
cmake --build "$dir" -j "$(nproc)" --target sort sort_baseline quicksort_bench sort_shapes >/dev/null
echo "programs: $bits ($dir)"

csv=$(mktemp)
data=$(mktemp)
trap 'rm -f "$csv" "$data"' EXIT
hyperfine -N --warmup 1 --runs 10 --export-csv "$csv" \
  -n sort "$dir/bin/sort $count" -n stable_sort "$dir/bench/sort_baseline $count"
# Columns: command,mean,stddev,median,user,system,min,max (seconds).
awk -F, '$1 == "sort" { m = $2; lo = $7; cpu = $5 + $6 }
  $1 == "stable_sort" { bm = $2; blo = $7; bcpu = $5 + $6 }
  END { printf "sort / std::stable_sort, whole process: %.3f of the mean, %.3f of the best, %.3f of the processor time (target at most 0.45)\n", m / bm, lo / blo, cpu / bcpu }' "$csv"
echo
"$dir/bench/quicksort_bench" 1000000 "$count"
echo
"$dir/bench/sort_shapes" --limit "$limit" "$shapes"

if [ -n "$chart" ]; then
  sizes=""
  for n in 1000 3000 10000 30000 100000 300000 1000000 3000000 10000000; do
    [ "$n" -le "$count" ] && sizes=${sizes:+$sizes,}$n
  done
  "$dir/bench/sort_shapes" --series "$sizes" > "$data"
  gnuplot <<GP
set terminal pngcairo size 900,560 noenhanced
set output "$chart"
set title "Random values, $bits: time per element"
set xlabel "values"
set ylabel "ns per element"
set logscale x
set autoscale xfix
set key left top
set grid
set key autotitle columnhead
plot for [col=2:$(awk 'NR == 1 { print NF; exit }' "$data")] "$data" using 1:col with linespoints
GP
  echo "chart: $chart"
fi
