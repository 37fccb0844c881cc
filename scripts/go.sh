#!/usr/bin/env bash
# go.sh: sets up the machine, builds everything and runs the project's main
# job, wordgame. Says what it is doing at each step and shows the build's
# progress, which takes a minute or two on a fresh two-core machine.
set -euo pipefail
cd "$(dirname "$0")/.."

# Passes the build's output through: on a terminal as one line that each new
# step overwrites (cut to the terminal's width), elsewhere line by line.
show_progress() {
  if [ -t 1 ]; then
    local cols line
    cols=$(stty size </dev/tty 2>/dev/null | cut -d' ' -f2)
    [ -n "$cols" ] && [ "$cols" -gt 1 ] || cols=80
    while IFS= read -r line; do
      printf '\r\033[K%s' "${line:0:cols-1}"
    done
    printf '\r\033[K'
  else
    cat
  fi
}

echo "go: checking what the project needs (installs only what is missing)"
scripts/install-deps.sh
echo "go: configuring and building everything into build/"
start=$SECONDS
scripts/build.sh build | show_progress
echo "go: built in $((SECONDS - start)) s; starting build/bin/wordgame (Ctrl-D quits)"
exec build/bin/wordgame
