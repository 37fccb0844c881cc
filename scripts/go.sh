#!/usr/bin/env bash
# go.sh [WORDGAME-OPTION...]: sets up the machine, builds what wordgame needs
# and starts it, passing it the options given: the project's main job, as
# fast as it can be had. Installs only what is missing, a line per package
# as apt sets it up; shows the build's progress. On a fresh machine the
# first run takes a few minutes (installing, then a build of wordgame
# alone); later runs start the game in seconds. The rest of the build (the
# other programs, the tests, the benchmarks) is left to scripts/build.sh and
# scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
help_if_asked "$@"

echo "go: checking what the project needs (installs only what is missing)"
scripts/install-deps.sh
echo "go: configuring build/ and building only what wordgame needs" \
  "(scripts/build.sh builds the rest, scripts/test.sh the rest and the tests)"
start=$SECONDS
scripts/build.sh --target wordgame build
echo "go: built in $((SECONDS - start)) s; starting build/bin/wordgame (Esc or Ctrl-D quits)"
exec build/bin/wordgame "$@"
