#!/usr/bin/env bash
# check-install.sh BUILD_DIR: checks that the install tree of a built BUILD_DIR
# serves an outside program. Installs BUILD_DIR into a temporary prefix, moves
# that tree elsewhere (the package config and pkg-config files must not hold
# absolute paths), plays a round of the installed wordgame (its state in a
# temporary folder), builds examples/ against it through find_package, runs it
# and compares its output; builds the same program once more through
# pkg-config (installed when missing). Then makes the Debian package
# (cpack -G DEB) and checks where it puts files and what it depends on.
# Removes its temporary folders and exits 1 with a message on the first
# failure.
set -euo pipefail

fail() {
  echo "check-install: $*" >&2
  exit 1
}

[ $# -eq 1 ] || { echo "usage: check-install.sh BUILD_DIR" >&2; exit 1; }
[ -f "$1/CMakeCache.txt" ] || fail "$1 is not a configured build folder"
! grep -Eq '^(SANITIZE|FUZZ):BOOL=ON$' "$1/CMakeCache.txt" ||
  fail "$1 is a sanitized or fuzzing build, which installs nothing"
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" pkg-config
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The example's whole output: print_arr's line, the secret word that the
# engine writes on construction, the hidden word after the guess, the hashes
# (str_hash("abc") and int_hash(2) as the hash module's contract fixes them).
expected=$(printf '%s\n' 'sorted: -7, -7, 0, 3, 8, 19, 42, 100, ' 'tools' \
  'guess o: _ o o _ _ ' 'won: no' 'str_hash(abc): 0xed131f5b' \
  'int_hash(2): 0x3c6ef362')

# Runs the built example in a fresh folder (it writes dict.txt there) and
# compares its output; $2 names how the program $1 was built.
run_example() {
  local exe=$1 how=$2 out
  mkdir -p "$tmp/run-$how"
  out=$(cd "$tmp/run-$how" && "$exe" 2>&1) ||
    fail "the example built through $how failed: $out"
  [ "$out" = "$expected" ] ||
    fail "the example built through $how printed
$out
instead of
$expected"
}

cmake --install "$build" --prefix "$tmp/staged" >"$tmp/install.log" 2>&1 ||
  fail "cmake --install $build failed: $(cat "$tmp/install.log")"
mv "$tmp/staged" "$tmp/prefix"
prefix=$tmp/prefix
for f in bin/sort bin/countup bin/wordgame include/sort.h include/game.h \
  include/hash.h lib/game.o lib/hash.o lib/libsorting.a \
  lib/cmake/smalltools/smalltoolsConfig.cmake share/man/man1/rootscan.1 \
  share/wordgame/words.txt lib/pkgconfig/smalltools-game.pc; do
  [ -e "$prefix/$f" ] || fail "the install tree lacks $f"
done

# The installed wordgame finds its shipped list beside it after the move, and
# plays a round from a pipe; its state goes to a temporary folder, never to
# the real home.
out=$(printf '!\nn\n' | XDG_STATE_HOME="$tmp/state" TMPDIR="$tmp" \
  "$prefix/bin/wordgame" -c animals 2>&1) ||
  fail "the installed wordgame failed: $out"
grep -q '^Words: shipped list, .* in animals\.$' <<<"$out" &&
  grep -q 'The word was' <<<"$out" ||
  fail "the installed wordgame did not play a round of the shipped list: $out"
[ -f "$tmp/state/wordgame/state" ] ||
  fail "the installed wordgame did not record its round"

cmake -S "$top/examples" -B "$tmp/example" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" >"$tmp/example.log" 2>&1 ||
  fail "configuring examples/ against the install tree failed: $(cat "$tmp/example.log")"
cmake --build "$tmp/example" >"$tmp/example.log" 2>&1 ||
  fail "building examples/ against the install tree failed: $(cat "$tmp/example.log")"
run_example "$tmp/example/use_modules" find_package

flags=$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs \
  smalltools-sorting smalltools-game smalltools-hash) ||
  fail "pkg-config does not know the smalltools modules"
# shellcheck disable=SC2086  # the flags are words
${CXX:-c++} -std=c++17 -o "$tmp/use_modules_pc" "$top/examples/use_modules.cc" \
  $flags >"$tmp/pc.log" 2>&1 ||
  fail "building examples/ through pkg-config failed: $(cat "$tmp/pc.log")"
run_example "$tmp/use_modules_pc" pkg-config

# The package: everything under /opt/smalltools but the man page links in
# /usr/share/man/man1 (none for sort, whose name the system's sort(1) has),
# with the 32-bit runtime libraries among its dependencies.
(cd "$build" && cpack -G DEB -B "$tmp/deb") >"$tmp/deb.log" 2>&1 ||
  fail "cpack -G DEB failed: $(cat "$tmp/deb.log")"
deb=$(echo "$tmp"/deb/*.deb)
[ -f "$deb" ] || fail "cpack -G DEB made no .deb"
paths=$(dpkg-deb -c "$deb" | awk '{print $6}') ||
  fail "dpkg-deb cannot read $deb"
stray=$(grep -Ev '^\./(opt/(smalltools/.*)?|usr/(share/(man/(man1/[^/]*)?)?)?)$' <<<"$paths" || true)
[ -z "$stray" ] || fail "the .deb installs outside /opt/smalltools: $stray"
for f in ./opt/smalltools/bin/sort ./opt/smalltools/lib/game.o \
  ./opt/smalltools/lib/cmake/smalltools/smalltoolsConfig.cmake \
  ./usr/share/man/man1/rootscan.1; do
  grep -qxF "$f" <<<"$paths" || fail "the .deb lacks $f"
done
! grep -qxF ./usr/share/man/man1/sort.1 <<<"$paths" ||
  fail "the .deb links sort.1 into /usr/share/man, over the system's sort(1)"
# The names in Depends, one a line, without their versions.
depends=$(dpkg-deb -f "$deb" Depends | sed 's/ *([^)]*)//g; s/, */\n/g')
for p in libc6-i386 lib32stdc++6 lib32gcc-s1 libc6; do
  grep -qxF "$p" <<<"$depends" || fail "the .deb does not depend on $p"
done

echo "check-install: the install tree of $build builds and runs examples/," \
  "and its .deb is sound"
