#!/usr/bin/env bash
# tidy.sh [FILE...]: runs clang-tidy with the project's .clang-tidy over the
# FILEs named (.cc or .c), or over every source file of the system and its
# clients (tests and fuzz targets included), as many files at a time as there
# are processors; prints the findings and exits 1 on any.
#
# A file found clean is remembered in a cache (TIDY_CACHE, default
# ~/.cache/smalltools/tidy), under a key made of everything its verdict
# depends on: clang-tidy's version, .clang-tidy, the file's compile command
# and the contents of the file and of every header it includes (as the
# compiler lists them). A later run checks only the files whose key is new,
# so a change to one source file, or to a header, checks just the files it
# reaches. TIDY_CACHE=off checks every file.
set -euo pipefail
cd "$(dirname "$0")/.."
case ${1:-} in
  -h | --help)
    sed -n '2,/^set -e/{/^set -e/d; s/^# \{0,1\}//; p}' "$0"
    exit 0 ;;
esac
scripts/install-deps.sh clang-tidy
cmake -S . -B build-tidy -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# examples/ is an outside project, built against an installed tree (see
# scripts/check-install.sh), so this build has no compile commands for it.
files() {
  if [ $# -gt 0 ]; then printf '%s\0' "$@"
  else git ls-files -z '*.cc' '*.c' ':!:examples/*'
  fi
}
count=$(files "$@" | tr -cd '\0' | wc -c)
cache=${TIDY_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/smalltools/tidy}
[ "$cache" = off ] || mkdir -p "$cache"
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT

# What every key starts with: the checker and its configuration.
TIDY_SALT=$( { clang-tidy --version; cat .clang-tidy; } | sha256sum | cut -c1-64)
export TIDY_SALT cache found

# key FILE: prints FILE's cache key (see above), or nothing when FILE has no
# compile command. Paths under the checkout are written relative to it, so
# that a clone elsewhere has the same keys.
key() {
  local top=$PWD f cmd dir args=() deps
  f=$(realpath "$1")
  cmd=$(awk -v f="  \"file\": \"$f\"" '
    /^  "directory": / { dir = $0 } /^  "command": / { c = $0 }
    /^  "file": / && index($0, f) == 1 { print dir; print c; exit }' \
    build-tidy/compile_commands.json)
  [ -n "$cmd" ] || return 0
  dir=$(sed -n '1{s/^  "directory": "//; s/",$//; p}' <<<"$cmd")
  # The command as JSON has it: \\ and \" unescaped, then split as the shell
  # would.
  cmd=$(sed -n '2{s/^  "command": "//; s/",$//; s/\\\\/\x01/g; s/\\"/"/g; s/\x01/\\/g; p}' <<<"$cmd")
  eval "set -- $cmd"
  while [ $# -gt 0 ]; do
    case $1 in -o) shift 2 ;; -c) shift ;; *) args+=("$1"); shift ;; esac
  done
  deps=$(cd "$dir" && "${args[@]}" -M -MT x) || return 0
  {
    printf '%s\n%s\n' "$TIDY_SALT" "${args[*]//$top/.}"
    # shellcheck disable=SC2020  # each of the three becomes a line feed
    tr -s ' \\\n' '\n\n\n' <<<"${deps#x:}" | grep . | xargs sha256sum |
      sed "s|$top|.|"
  } | sha256sum | cut -c1-64
}

# check FILE: runs clang-tidy on FILE unless the cache knows it clean;
# remembers it clean, or marks the run as having findings.
check() {
  local k=
  [ "$cache" = off ] || k=$(key "$1")
  if [ -n "$k" ] && [ -e "$cache/$k" ]; then
    mktemp "$found/hit.XXXXXX" >/dev/null
  elif clang-tidy -p build-tidy --quiet "$1" 2>/dev/null; then
    [ -z "$k" ] || : >"$cache/$k"
  else
    mktemp "$found/findings.XXXXXX" >/dev/null
  fi
}
export -f key check

start=$SECONDS
# shellcheck disable=SC2016  # $0 is the file, in the shell that xargs starts
files "$@" | xargs -0 -n 1 -P "$(nproc)" bash -c 'check "$0"'
hits=$(find "$found" -name 'hit.*' | wc -l)
if ! compgen -G "$found/findings.*" >/dev/null; then
  echo "tidy: clean ($count files, $hits of them known clean; $((SECONDS - start)) s)"
else
  echo "tidy: findings above" >&2
  exit 1
fi
