#!/usr/bin/env bash
# go.sh: sets up the machine, builds what wordgame needs and starts it: the
# project's main job, as fast as it can be had. The rest of the build (the
# other programs, the tests, the benchmarks) is left to scripts/build.sh and
# scripts/test.sh. Says what it is doing at each step and shows the build's
# progress.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "go: checking what the project needs (installs only what is missing)"
scripts/install-deps.sh
echo "go: configuring build/ and building only what wordgame needs" \
  "(scripts/build.sh builds the rest, scripts/test.sh the rest and the tests)"
start=$SECONDS
scripts/build.sh --target wordgame build
echo "go: built in $((SECONDS - start)) s; starting build/bin/wordgame (Esc or Ctrl-D quits)"
exec build/bin/wordgame
