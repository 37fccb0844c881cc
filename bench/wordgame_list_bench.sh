#!/usr/bin/env bash
# wordgame_list_bench.sh [REPEATS]: how wordgame copes with a large word list.
# Generates (once, under $TMPDIR or /tmp) a list of 6.67 million random
# 8-letter words (60 MB) and one of 1 MB, then, REPEATS times (default 3) in
# turn so that a busy machine slows them alike:
#   sort    LC_ALL=C sort -u of the list, the yardstick for reading it;
#   first   wordgame --line playing one round (given up at once) and quitting:
#           the time to the first board, and the peak memory;
#   rounds  the same with 11 rounds; (rounds - first) / 10 is what each later
#           round adds.
# Prints one line per run (label, seconds, peak KB, exit status) and the best
# of each at the end (the peak: the largest). wordgame is the Release build's
# in build/ (built here), or $WORDGAME when set: one build, or several apart
# by colons (an older build beside a newer, say), each timed in every repeat
# in turn, their labels then ending in @1, @2, ...
set -euo pipefail
cd "$(dirname "$0")/.."
repeats=${1:-3}
games=()
IFS=: read -r -a games <<<"${WORDGAME:-}"
if [ ${#games[@]} = 0 ]; then
  scripts/build.sh --target wordgame build >/dev/null
  games=("$PWD/build/bin/wordgame")
fi
tmp=${TMPDIR:-/tmp}
big=$tmp/wordgame-bench-60mb.txt
small=$tmp/wordgame-bench-1mb.txt
make_list() {  # make_list FILE WORDS
  [ -s "$1" ] && return
  python3 - "$1" "$2" <<'EOF'
import random, sys
path, n = sys.argv[1], int(sys.argv[2])
table = bytes(ord('a') + b % 26 for b in range(256))
raw = random.Random(1).randbytes(8 * n).translate(table)
with open(path, 'wb') as f:
    f.write(b'\n'.join(raw[i:i + 8] for i in range(0, len(raw), 8)) + b'\n')
EOF
}
make_list "$big" 6670000
make_list "$small" 111111
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT

# measure LABEL COMMAND...: prints "LABEL SECONDS PEAK-KB STATUS".
measure() {
  local label=$1
  shift
  local status=0
  /usr/bin/time -f "$label %e %M" -o "$state/time" "$@" >/dev/null 2>&1 ||
    status=$?
  echo "$(tail -1 "$state/time") $status"
}
# play GAME FILE ROUNDS: wordgame GAME giving up ROUNDS rounds in line mode,
# from a pipe.
play() {
  local input=""
  for ((i = 1; i < $3; i++)); do input+=$'!\ny\n'; done
  input+=$'!\nn\n'
  printf '%s' "$input" |
    XDG_STATE_HOME=$state "$1" --line --no-save "$2"
}
export -f play
export state

for list in "$big" "$small"; do
  echo "== $(basename "$list"): $(wc -c <"$list") bytes, $(wc -l <"$list") words"
  for ((r = 1; r <= repeats; r++)); do
    measure sort env LC_ALL=C sort -u "$list" -o /dev/null
    # shellcheck disable=SC2016  # the arguments of the shell started
    for k in "${!games[@]}"; do
      at=$([ ${#games[@]} = 1 ] || echo "@$((k + 1))")
      measure "first$at" bash -c 'play "$0" "$1" 1' "${games[k]}" "$list"
      measure "rounds$at" bash -c 'play "$0" "$1" 11' "${games[k]}" "$list"
    done
  done | tee "$state/runs"
  for k in "${!games[@]}"; do
    at=$([ ${#games[@]} = 1 ] || echo "@$((k + 1))")
    awk -v at="$at" -v bytes="$(wc -c <"$list")" '
      { if (!($1 in t) || $2 < t[$1]) t[$1] = $2; if ($3 > m[$1]) m[$1] = $3 }
      END { f = t["first" at]; r = t["rounds" at]; s = t["sort"]
            printf "best%s: sort -u %.2f s; first board %.2f s (%.2f of sort),",
                   at, s, f, f / s
            printf " peak %d MB (%.2f of the list); later round %.3f s",
                   m["first" at] / 1024, m["first" at] * 1024 / bytes,
                   (r - f) / 10
            printf " (%.3f of sort)\n", (r - f) / 10 / s }' "$state/runs"
  done
done
