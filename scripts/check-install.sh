#!/usr/bin/env bash
# check-install.sh BUILD_DIR: checks that a built BUILD_DIR installs and
# packages soundly and serves outside programs.
#  1. Installs BUILD_DIR into a temporary prefix and moves that tree
#     elsewhere (the package config and pkg-config files must not hold
#     absolute paths); an install into /usr is refused unless allowed.
#  2. Plays a round of the installed wordgame (its state in a temporary
#     folder); builds examples/ against the tree through find_package (with its
#     components) and through pkg-config, runs it and compares its output;
#     an unknown component, a C-only consumer, and compilers without 32-bit
#     support each get their answer.
#  3. Makes the Debian packages (cpack -G DEB) and checks their files, links,
#     manual pages, stripped programs with their debug symbols, versions and
#     dependencies, and runs lintian on them when it is installed.
# Installs what it needs beyond the build (dpkg-dev, file) through
# scripts/install-deps.sh. Removes its temporary folders and exits 1 with a
# message on the first failure.
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
# cpack's DEB generator runs dpkg-shlibdeps (dpkg-dev), which needs file.
"$top/scripts/install-deps.sh" dpkg-dev file
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The programs: as installed, and as the package puts them on PATH.
programs="countup orderdemo rootscan sort trimprimes wordgame"
path_name() { if [ "$1" = sort ]; then echo smalltools-sort; else echo "$1"; fi; }

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

# configure NAME SOURCE_DIR CMAKE-OPTION...: configures an outside project
# against the install tree into $tmp/NAME, its output in $tmp/NAME.log;
# fails as configure fails.
configure() {
  local name=$1 src=$2
  shift 2
  cmake -S "$src" -B "$tmp/$name" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefix" "$@" >"$tmp/$name.log" 2>&1
}

# refused NAME SOURCE_DIR REASON CMAKE-OPTION...: configuring the project must
# fail with a message that contains REASON.
refused() {
  local name=$1 src=$2 reason=$3
  shift 3
  ! configure "$name" "$src" "$@" || fail "$name: configuring did not fail"
  grep -qF "$reason" <(tr -s ' \n' ' ' <"$tmp/$name.log") ||
    fail "$name: configuring failed without saying \"$reason\": $(cat "$tmp/$name.log")"
}

# --- 1. The install tree -------------------------------------------------
cmake --install "$build" --prefix "$tmp/staged" >"$tmp/install.log" 2>&1 ||
  fail "cmake --install $build failed: $(cat "$tmp/install.log")"
mv "$tmp/staged" "$tmp/prefix"
prefix=$tmp/prefix
for f in bin/sort bin/countup bin/wordgame include/sort.h include/game.h \
  include/hash.h lib/game.o lib/hash.o lib/libsorting.a \
  cmake/smalltoolsConfig.cmake share/man/man1/rootscan.1 \
  share/wordgame/words.txt lib/pkgconfig/smalltools-game.pc; do
  [ -e "$prefix/$f" ] || fail "the install tree lacks $f"
done

# Into /usr or /usr/local (under DESTDIR, so that a failed check installs
# nothing there): refused, unless SMALLTOOLS_ALLOW_SYSTEM_PREFIX allows it.
for system in /usr /usr/local/; do
  ! DESTDIR=$tmp/system cmake --install "$build" --prefix "$system" \
    >"$tmp/system.log" 2>&1 || fail "cmake --install into $system was not refused"
  grep -q "shadow the system's" "$tmp/system.log" ||
    fail "cmake --install into $system was refused without the reason: $(cat "$tmp/system.log")"
  [ ! -e "$tmp/system/usr" ] ||
    fail "cmake --install into $system installed files before it was refused"
done
DESTDIR=$tmp/system cmake -DCMAKE_INSTALL_PREFIX=/usr/local \
  -DSMALLTOOLS_ALLOW_SYSTEM_PREFIX=ON -P "$build/cmake_install.cmake" \
  >"$tmp/system.log" 2>&1 && [ -x "$tmp/system/usr/local/bin/sort" ] ||
  fail "SMALLTOOLS_ALLOW_SYSTEM_PREFIX=ON did not allow /usr/local: $(cat "$tmp/system.log")"

# --- 2. Outside programs -------------------------------------------------
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

configure example "$top/examples" ||
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

# A project in C alone that hashes a key; run as it is, it links hash.o.
mkdir -p "$tmp/c-src"
cat >"$tmp/c-src/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.20)
project(c_consumer LANGUAGES C)
find_package(smalltools CONFIG REQUIRED COMPONENTS ${COMPONENTS})
add_executable(use_hash use_hash.c)
target_link_libraries(use_hash PRIVATE smalltools::hash)
EOF
cat >"$tmp/c-src/use_hash.c" <<'EOF'
#include <stdio.h>
#include "hash.h"
int main(void) { printf("%08lx\n", (unsigned long)str_hash("abc")); return 0; }
EOF
configure c "$tmp/c-src" -DCOMPONENTS=hash ||
  fail "configuring a C project against the install tree failed: $(cat "$tmp/c.log")"
cmake --build "$tmp/c" >"$tmp/c.log" 2>&1 ||
  fail "building a C project against the install tree failed: $(cat "$tmp/c.log")"
[ "$("$tmp/c/use_hash")" = ed131f5b ] || fail "the C project's str_hash is wrong"

refused unknown-component "$tmp/c-src" \
  "unknown component(s): hahs; the components of smalltools are sorting, game and hash" \
  "-DCOMPONENTS=sorting;hahs"

# Compilers that cannot build 32-bit programs (as without gcc-multilib and
# g++-multilib): each refuses with its own package named.
mkdir -p "$tmp/no32"
for compiler in gcc g++; do
  printf '#!/bin/sh\nfor a; do [ "$a" != -m32 ] || { echo "no 32-bit support" >&2; exit 1; }; done\nexec %s "$@"\n' \
    "$compiler" >"$tmp/no32/$compiler"
  chmod +x "$tmp/no32/$compiler"
done
refused no32-c "$tmp/c-src" "On Debian: apt-get install gcc-multilib" \
  -DCOMPONENTS=hash -DCMAKE_C_COMPILER="$tmp/no32/gcc"
refused no32-cxx "$top/examples" "On Debian: apt-get install g++-multilib" \
  -DCMAKE_CXX_COMPILER="$tmp/no32/g++"

# --- 3. The Debian packages -----------------------------------------------
(cd "$build" && cpack -G DEB -B "$tmp/deb") >"$tmp/deb.log" 2>&1 ||
  fail "cpack -G DEB failed: $(cat "$tmp/deb.log")"
version=$(sed -n '1s/^smalltools (\(.*\)) .*/\1/p' "$top/cmake/deb/changelog")
[ "$version" = 1.0.0-1 ] || fail "cmake/deb/changelog's latest version is $version"
debs=()
for package in smalltools smalltools-dev smalltools-dbgsym; do
  deb=$tmp/deb/${package}_${version}_amd64.deb
  [ -f "$deb" ] || fail "cpack -G DEB made no $(basename "$deb")"
  debs+=("$deb")
  dpkg-deb -x "$deb" "$tmp/root-$package"
  dpkg-deb -c "$deb" | awk '{print $6}' >"$tmp/$package.paths"
  [ -s "$tmp/root-$package/usr/share/doc/$package/copyright" ] &&
    [ -s "$tmp/root-$package/usr/share/doc/$package/changelog.Debian.gz" ] ||
    fail "$package lacks its copyright or changelog.Debian.gz"
done
# paths PACKAGE ERE: fails when PACKAGE holds a path that ERE does not match.
paths() {
  local stray
  stray=$(grep -Ev "^\./($2|usr/|usr/share/|usr/share/doc/|usr/share/doc/$1/.*)$" \
    "$tmp/$1.paths" || true)
  [ -z "$stray" ] || fail "$1 holds what belongs elsewhere: $stray"
}
paths smalltools 'opt/|opt/smalltools/(bin/.*|share/.*)?|usr/bin/.*|usr/share/(man/|man/man1/.*|lintian/.*)'
paths smalltools-dev 'opt/|opt/smalltools/(include/.*|lib/.*|cmake/.*)?|usr/share/lintian/.*'
paths smalltools-dbgsym 'usr/lib/(debug/.*)?'

root=$tmp/root-smalltools
# Each program: on PATH under its name through a link, with its manual page
# linked beside it and saying in FILES how it is reached; stripped, its debug
# symbols under its build ID in smalltools-dbgsym.
for program in $programs; do
  name=$(path_name "$program")
  [ "$(readlink "$root/usr/bin/$name")" = "/opt/smalltools/bin/$program" ] ||
    fail "smalltools does not link /usr/bin/$name to /opt/smalltools/bin/$program"
  page=$root/opt/smalltools/share/man/man1/$program.1.gz
  [ "$(readlink "$root/usr/share/man/man1/$name.1.gz")" = \
    "/opt/smalltools/share/man/man1/$program.1.gz" ] && [ -f "$page" ] ||
    fail "smalltools does not link the page of $program as $name.1.gz"
  zcat "$page" | sed -n '/^\.SH FILES/,/^\.SH/p' | grep -qF "/usr/bin/$name" ||
    fail "the page of $program does not say in FILES that it is /usr/bin/$name"
  exe=$root/opt/smalltools/bin/$program
  file -b "$exe" | grep -q ', stripped' || fail "$program is not stripped"
  # Hardened: position-independent, all symbols bound at start and the
  # relocated data read-only then, a stack protector and fortified calls
  # (every program prints through a fortified call).
  readelf -d "$exe" | grep -q 'Flags: NOW PIE' &&
    readelf -lW "$exe" | grep -q GNU_RELRO ||
    fail "$program is not a PIE with full RELRO (-pie -z relro -z now)"
  imports=$(nm -D "$exe")
  grep -q ' U __stack_chk_fail' <<<"$imports" ||
    fail "$program has no stack protector (-fstack-protector-strong)"
  grep -Eq ' U __[a-z0-9]+_chk(@|$)' <<<"$imports" ||
    fail "$program calls no fortified function (-D_FORTIFY_SOURCE=2)"
  id=$(readelf -n "$exe" | sed -n 's/.*Build ID: \(.*\)/\1/p')
  debug=$tmp/root-smalltools-dbgsym/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug
  readelf -S "$debug" 2>/dev/null | grep -q debug_info ||
    fail "smalltools-dbgsym lacks the debug symbols of $program (build ID $id)"
done
[ ! -e "$root/usr/bin/sort" ] && [ ! -e "$root/usr/share/man/man1/sort.1.gz" ] ||
  fail "smalltools puts sort or its page over the system's sort(1)"

# Every library a program needs comes from a package that smalltools names in
# Depends. (dpkg -S knows a library by the path its package ships, which
# merged-/usr systems reach through several names.)
depends=$(dpkg-deb -f "${debs[0]}" Depends | sed 's/ *([^)]*)//g; s/, */\n/g')
owner() {
  local real candidate
  real=$(readlink -f "$1")
  for candidate in "$1" "/usr$1" "$real" "${real#/usr}"; do
    dpkg -S "$candidate" 2>/dev/null | sed -n '1s/[:,].*//p' | grep . && return
  done
  fail "no package owns $1"
}
for program in $programs; do
  for lib in $(ldd "$prefix/bin/$program" | grep -o '/[^ ]*'); do
    needed=$(owner "$lib")
    grep -qxF "$needed" <<<"$depends" ||
      fail "$program needs $lib from $needed, which smalltools does not depend on"
  done
done
dpkg-deb -f "${debs[1]}" Depends | grep -qw g++-multilib ||
  fail "smalltools-dev does not depend on g++-multilib"
for module in "$tmp"/root-smalltools-dev/opt/smalltools/lib/*.[ao]; do
  ! readelf -SW "$module" | grep -q '\.debug_' ||
    fail "$(basename "$module") keeps its debug sections in smalltools-dev"
done
dpkg-deb -f "${debs[2]}" Depends | grep -qxF "smalltools (= $version)" ||
  fail "smalltools-dbgsym does not depend on exactly smalltools $version"

if command -v lintian >/dev/null; then
  lintian --pedantic --fail-on error,warning,pedantic "${debs[@]}" \
    >"$tmp/lintian.log" 2>&1 || fail "lintian: $(cat "$tmp/lintian.log")"
  if grep -E '^[EWP]: ' "$tmp/lintian.log"; then fail "lintian finds the above"; fi
  lintian_said="lintian finds nothing"
else
  lintian_said="lintian is not installed (scripts/install-deps.sh lintian), not run"
fi

echo "check-install: the install tree of $build builds and runs outside" \
  "programs, and its packages are sound; $lintian_said"
