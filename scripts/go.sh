#!/usr/bin/env bash
# go.sh: sets up the machine, builds what wordgame needs and starts it: the
# project's main job, as fast as it can be had. The rest of the build (the
# other programs, the tests, the benchmarks) is left to scripts/build.sh and
# scripts/test.sh. Says what it is doing at each step and shows the build's
# progress.
set -euo pipefail
cd "$(dirname "$0")/.."

# Passes the build's output through. On a terminal each progress line (they
# start with "[": "[12/80] Building ...") overwrites the one before, cut to
# the terminal's width, while any other line (a compiler's message) stays;
# elsewhere every line is passed as it is.
show_progress() {
  if [ -t 1 ]; then
    local cols line
    cols=$(stty size </dev/tty 2>/dev/null | cut -d' ' -f2)
    [ -n "$cols" ] && [ "$cols" -gt 1 ] || cols=80
    while IFS= read -r line; do
      if [[ $line == \[* ]]; then
        printf '\r\033[K%s' "${line:0:cols-1}"
      else
        printf '\r\033[K%s\n' "$line"
      fi
    done
    printf '\r\033[K'
  else
    cat
  fi
}

echo "go: checking what the project needs (installs only what is missing)"
scripts/install-deps.sh
echo "go: configuring build/ and building only what wordgame needs" \
  "(scripts/build.sh builds the rest, scripts/test.sh the rest and the tests)"
start=$SECONDS
scripts/build.sh --target wordgame build 2>&1 | show_progress
echo "go: built in $((SECONDS - start)) s; starting build/bin/wordgame (Esc or Ctrl-D quits)"
exec build/bin/wordgame
