#!/bin/sh
# g++ without -m32: configured as the compiler of a scratch build, it builds
# the project's 32-bit targets for x86-64 instead (bench/sort_bench.sh).
for arg; do
  shift
  [ "$arg" = -m32 ] || set -- "$@" "$arg"
done
exec g++ "$@"
