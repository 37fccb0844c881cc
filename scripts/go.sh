#!/usr/bin/env bash
# go.sh: sets up the machine, builds everything and runs the project's main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build >/dev/null
exec build/bin/wordgame
