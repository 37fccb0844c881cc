#!/usr/bin/env bash
# roots_bench.sh [--32-bit | --x86-64] [SECONDS]: times rootscan --roots's
# work (bench/roots_bench.cc, in-process) against PARI/GP's polrootsreal on
# the same polynomials, in processor time per call, and prints a table with
# the ratio per polynomial and their geometric mean (below 1: rootscan is
# faster). Each polynomial runs for SECONDS (default 0.2) per round; the
# three rounds go in turn through rootscan 32-bit, rootscan x86-64 and PARI,
# so that a busy machine slows them alike, and the fastest round counts.
# rootscan 32-bit (as it ships) is the Release build's in build/; x86-64 is
# built in build-bench64/ (configured with -DX86_64_ONLY=ON); --32-bit or
# --x86-64 runs only that one. PARI/GP (Debian's pari-gp, x86-64, at its
# default precision) is installed when missing.
#
# roots_bench.sh --paths [--32-bit | --x86-64] [SECONDS]: instead, for each
# build, times every polynomial with all the exact root finder's fast paths
# on and with each off in turn (roots_bench --paths), without PARI/GP.
set -euo pipefail
cd "$(dirname "$0")/.."
builds=(32 64)
paths=false
usage="usage: roots_bench.sh [--paths] [--32-bit | --x86-64] [SECONDS]"
while [ $# -gt 0 ]; do
  case $1 in
    --paths) paths=true; shift ;;
    --32-bit) builds=(32); shift ;;
    --x86-64) builds=(64); shift ;;
    -*) echo "$usage" >&2; exit 1 ;;
    *) break ;;
  esac
done
seconds=${1:-0.2}
rounds=3

$paths || command -v gp >/dev/null || scripts/install-deps.sh pari-gp

program() { if [ "$1" = 32 ]; then echo build; else echo build-bench64; fi; }
for bits in "${builds[@]}"; do
  dir=$(program "$bits")
  x86_64_only=OFF
  [ "$bits" = 64 ] && x86_64_only=ON
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DX86_64_ONLY=$x86_64_only >/dev/null
  cmake --build "$dir" -j "$(nproc)" --target roots_bench >/dev/null
done

if $paths; then
  for bits in "${builds[@]}"; do
    echo "rootscan $bits-bit: off as a multiple of all on"
    "$(program "$bits")/bench/roots_bench" --paths "$seconds"
  done
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$(program "${builds[0]}")/bench/roots_bench" --gp "$seconds" >"$work/bench.gp"
for _ in $(seq "$rounds"); do
  for bits in "${builds[@]}"; do
    "$(program "$bits")/bench/roots_bench" "$seconds" |
      sed "s/^/$bits /" >>"$work/times"
  done
  gp -q -D parisizemax=1G -f <"$work/bench.gp" 2>/dev/null |
    sed "s/^/pari /" >>"$work/times"
done

# Lines "TOOL NAME DEGREE ROOTS MICROSECONDS"; the fastest round of each.
awk -v builds="${builds[*]}" '
  {
    key = $1 SUBSEP $2
    if (!(key in best) || $5 < best[key]) best[key] = $5
    roots[key] = $4
    if (!($2 in degree)) { order[++n] = $2; degree[$2] = $3 }
  }
  END {
    nb = split(builds, b, " ")
    printf "%-22s %6s %6s", "polynomial", "degree", "roots"
    for (i = 1; i <= nb; i++) printf " %12s", "rootscan-" b[i] " us"
    printf " %12s", "PARI us"
    for (i = 1; i <= nb; i++) printf " %9s", b[i] "/PARI"
    printf "\n"
    for (k = 1; k <= n; k++) {
      name = order[k]
      mine = roots[b[1] SUBSEP name]
      theirs = roots["pari" SUBSEP name]
      printf "%-22s %6d %6s", name, degree[name],
             mine (mine == theirs ? "" : " (PARI " theirs ")")
      for (i = 1; i <= nb; i++) printf " %12.1f", best[b[i] SUBSEP name]
      printf " %12.1f", best["pari" SUBSEP name]
      for (i = 1; i <= nb; i++) {
        r = best[b[i] SUBSEP name] / best["pari" SUBSEP name]
        log_sum[i] += log(r)
        printf " %9.3f", r
      }
      printf "\n"
    }
    printf "%-22s", "geometric mean"
    printf "%*s", 14 + 13 * (nb + 1), ""
    for (i = 1; i <= nb; i++) printf " %9.3f", exp(log_sum[i] / n)
    printf "\n"
  }' "$work/times"
