#!/usr/bin/env bash
# check-install.sh BUILD_DIR: checks that the project installs and packages
# soundly and serves outside programs.
#  1. Installs BUILD_DIR into a temporary prefix and moves that tree
#     elsewhere (the package config and pkg-config files must not hold
#     absolute paths). Refused before anything is written: a prefix whose
#     bin/ is on the usual PATH, however it is spelt, unless allowed; an
#     install from a build that lacks a program.
#  2. Builds the Debian packages as Debian does (dpkg-buildpackage on a copy
#     of the sources; without their tests, which test.sh has run), runs
#     lintian on the .changes file (source and binaries) and fails on any
#     tag; checks the packages' files, names on PATH, manual pages, stripped
#     and hardened programs with their debug symbols, dependencies, and that
#     no 32-bit file calls a file function without large-file support.
#  3. In the install tree and in the unpacked packages alike: plays a round
#     of wordgame, builds examples/ through find_package and through
#     pkg-config and runs it. Once: a C-only consumer, an unknown component
#     and compilers without 32-bit support get their answers.
# Installs what it needs beyond the build through scripts/install-deps.sh.
# Removes its temporary folder (kept with CHECK_INSTALL_KEEP=1, to look into
# a failure) and exits 1 with a message on the first failure.
set -euo pipefail

fail() {
  echo "check-install: $*" >&2
  exit 1
}

# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
help_if_asked "$@"
[ $# -eq 1 ] || { echo "usage: check-install.sh BUILD_DIR" >&2; exit 1; }
[ -f "$1/CMakeCache.txt" ] || fail "$1 is not a configured build folder"
! grep -Eq '^(SANITIZE|FUZZ):BOOL=ON$' "$1/CMakeCache.txt" ||
  fail "$1 is a sanitized or fuzzing build, which installs nothing"
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" dpkg-dev debhelper lintian file
tmp=$(mktemp -d)
restore=
trap 'eval "$restore"; [ -n "${CHECK_INSTALL_KEEP:-}" ] || rm -rf "$tmp"' EXIT
programs="countup orderdemo rootscan sort trimprimes wordgame"
path_name() { if [ "$1" = sort ]; then echo smalltools-sort; else echo "$1"; fi; }

# The example's whole output: print_arr's line, the secret word that the
# engine writes on construction, the hidden word after the guess, the hashes
# (str_hash("abc") and int_hash(2) as the hash module's contract fixes them).
expected=$(printf '%s\n' 'sorted: -7, -7, 0, 3, 8, 19, 42, 100, ' 'tools' \
  'guess o: _ o o _ _ ' 'won: no' 'str_hash(abc): 0xed131f5b' \
  'int_hash(2): 0x3c6ef362')

# configure NAME SOURCE_DIR PREFIX CMAKE-OPTION...: configures an outside
# project against the tree PREFIX into $tmp/NAME, its output in
# $tmp/NAME.log; fails as configure fails.
configure() {
  local name=$1 src=$2 prefix=$3
  shift 3
  cmake -S "$src" -B "$tmp/$name" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefix" "$@" >"$tmp/$name.log" 2>&1
}

# refused NAME SOURCE_DIR REASON CMAKE-OPTION...: configuring the project
# against the install tree must fail with a message that contains REASON.
refused() {
  local name=$1 src=$2 reason=$3
  shift 3
  ! configure "$name" "$src" "$prefix" "$@" ||
    fail "$name: configuring did not fail"
  grep -qF "$reason" <(tr -s ' \n' ' ' <"$tmp/$name.log") ||
    fail "$name: configuring failed without saying \"$reason\": $(cat "$tmp/$name.log")"
}

# serves TREE HOW: the tree TREE (a prefix) plays a round of its wordgame
# and links the example through find_package and through pkg-config.
serves() {
  local tree=$1 how=$2 out flags
  # The wordgame finds its shipped list from its own path; its state goes to
  # a temporary folder, never to the real home.
  out=$(printf '!\nn\n' | XDG_STATE_HOME="$tmp/state-$how" TMPDIR="$tmp" \
    "$tree/bin/wordgame" -c animals 2>&1) || fail "the $how wordgame failed: $out"
  { grep -q '^Words: shipped list, .* in animals\.$' <<<"$out" &&
    grep -q 'The word was' <<<"$out"; } ||
    fail "the $how wordgame did not play a round of the shipped list: $out"
  [ -f "$tmp/state-$how/wordgame/state" ] ||
    fail "the $how wordgame did not record its round"

  configure "example-$how" "$top/examples" "$tree" ||
    fail "configuring examples/ against the $how tree failed: $(cat "$tmp/example-$how.log")"
  cmake --build "$tmp/example-$how" >>"$tmp/example-$how.log" 2>&1 ||
    fail "building examples/ against the $how tree failed: $(cat "$tmp/example-$how.log")"
  flags=$(PKG_CONFIG_PATH="$tree/share/pkgconfig" pkg-config --cflags --libs \
    smalltools-sorting smalltools-game smalltools-hash) ||
    fail "pkg-config does not know the smalltools modules of the $how tree"
  # shellcheck disable=SC2086  # the flags are words
  ${CXX:-c++} -std=c++17 -o "$tmp/example-$how/use_modules_pc" \
    "$top/examples/use_modules.cc" $flags >"$tmp/pc.log" 2>&1 ||
    fail "building examples/ through pkg-config failed: $(cat "$tmp/pc.log")"
  # The example writes dict.txt into the folder it runs in.
  for exe in use_modules use_modules_pc; do
    mkdir -p "$tmp/run-$how-$exe"
    out=$(cd "$tmp/run-$how-$exe" && "$tmp/example-$how/$exe" 2>&1) ||
      fail "the example $exe against the $how tree failed: $out"
    [ "$out" = "$expected" ] ||
      fail "the example $exe against the $how tree printed
$out
instead of
$expected"
  done
}

# The file functions that take or give a file offset, size or inode number:
# a 32-bit file built without _FILE_OFFSET_BITS=64 calls these, with it
# their ...64 variants.
lfs_functions='aio_cancel aio_error aio_fsync aio_read aio_return aio_suspend
aio_write alphasort creat fallocate fcntl fgetpos fopen freopen fseeko fsetpos
fstat fstatat fstatfs fstatvfs ftello ftruncate fts_children fts_close fts_open
fts_read fts_set ftw getdirentries getrlimit glob globfree lio_listio lockf
lseek lstat mkostemp mkostemps mkstemp mkstemps mmap nftw open openat
posix_fadvise posix_fallocate pread preadv prlimit pwrite pwritev readdir
readdir_r scandir sendfile setrlimit stat statfs statvfs tmpfile truncate
versionsort __fxstat __fxstatat __lxstat __xstat'

# without_lfs FILE...: prints each 32-bit ELF file among FILEs (programs,
# objects, static libraries) that calls one of lfs_functions, with the calls.
without_lfs() {
  local f type dynamic calls
  for f; do
    type=$(file -b "$f")
    case $type in
      "ELF 32-bit"*relocatable* | "current ar archive"*) dynamic= ;;
      "ELF 32-bit"*) dynamic=-D ;;
      *) continue ;;
    esac
    calls=$(nm $dynamic --undefined-only "$f")
    calls=$(awk '{ sub(/@.*/, "", $NF); print $NF }' <<<"$calls" |
      grep -xF -f <(tr -s ' \n' '\n' <<<"$lfs_functions") | sort -u) || true
    # shellcheck disable=SC2086  # one line, the calls apart by spaces
    [ -z "$calls" ] || echo "$f:" $calls
  done
}

# --- 1. The install tree -------------------------------------------------
cmake --install "$build" --prefix "$tmp/staged" >"$tmp/install.log" 2>&1 ||
  fail "cmake --install $build failed: $(cat "$tmp/install.log")"
mv "$tmp/staged" "$tmp/prefix"
prefix=$tmp/prefix
for f in bin/sort bin/countup bin/wordgame include/smalltools/sort.h \
  include/smalltools/game.h include/smalltools/hash.h \
  lib/smalltools/game.o lib/smalltools/hash.o \
  lib/smalltools/libsorting.a share/cmake/smalltools/smalltoolsConfig.cmake \
  share/man/man1/rootscan.1 share/wordgame/words \
  share/pkgconfig/smalltools-game.pc; do
  [ -e "$prefix/$f" ] || fail "the install tree lacks $f"
done

# install_refused HOW WHY CMAKE-ARGUMENT...: cmake --install with the
# arguments (under DESTDIR, so that a failed check installs nothing outside
# $tmp) must stop with a message that contains WHY, having written nothing.
install_refused() {
  local how=$1 why=$2
  shift 2
  rm -rf "$tmp/system"
  ! DESTDIR=$tmp/system cmake --install "$@" >"$tmp/system.log" 2>&1 ||
    fail "cmake --install $how was not refused"
  grep -qF "$why" <(tr -s ' \n' ' ' <"$tmp/system.log") ||
    fail "cmake --install $how was refused without saying \"$why\": $(cat "$tmp/system.log")"
  [ ! -e "$tmp/system" ] ||
    fail "cmake --install $how installed files before it was refused"
}
for system in /usr /usr/local/ /usr/./local /usr/local/. /usr/local/bin/.. \
  /usr/bin/../games/..; do
  install_refused "into $system" "shadow the system's sort(1)" \
    "$build" --prefix "$system"
done
(cd /usr/local && install_refused "--prefix . in /usr/local" \
  "shadow the system's sort(1)" "$build" --prefix .)
{ DESTDIR=$tmp/system cmake -DCMAKE_INSTALL_PREFIX=/usr/local \
  -DSMALLTOOLS_ALLOW_SYSTEM_PREFIX=ON -P "$build/cmake_install.cmake" \
  >"$tmp/system.log" 2>&1 && [ -x "$tmp/system/usr/local/bin/sort" ]; } ||
  fail "SMALLTOOLS_ALLOW_SYSTEM_PREFIX=ON did not allow /usr/local: $(cat "$tmp/system.log")"

# A build that lacks a program (as after scripts/go.sh, which builds
# wordgame alone) installs nothing and says what to run.
mv "$build/bin/rootscan" "$build/bin/rootscan.check-install"
# shellcheck disable=SC2016  # expanded when the trap runs it
restore='mv "$build/bin/rootscan.check-install" "$build/bin/rootscan"'
install_refused "from a partial build" \
  "lacks rootscan). Run: cmake --build $build, then install again." \
  "$build" --prefix "$tmp/partial"
eval "$restore"
restore=

# --- 2. The Debian packages -----------------------------------------------
version=$(sed -n '1s/^smalltools (\(.*\)) .*/\1/p' "$top/debian/changelog")
project=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$version" = "$project" ] ||
  fail "debian/changelog's latest version is $version, the project's $project"
# The sources as git has them (tracked and new files, none that it ignores):
# the package is built from a clean tree, and nothing is left in this one.
src=$tmp/deb/smalltools-$version
mkdir -p "$src"
git -C "$top" ls-files -z -co --exclude-standard |
  (cd "$top" && while IFS= read -r -d '' f; do
    [ ! -e "$f" ] || printf '%s\0' "$f"; done) |
  tar -C "$top" --null -T - -cf - | tar -C "$src" -xf -
# Through ccache, as the project's own builds: the package's objects come
# from the cache when its sources and flags are as before.
use_ccache "$src"
(cd "$src" && DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -us -uc -Pnocheck) \
  >"$tmp/dpkg-buildpackage.log" 2>&1 ||
  fail "dpkg-buildpackage failed: $(tail -n 30 "$tmp/dpkg-buildpackage.log")"
changes=$tmp/deb/smalltools_${version}_amd64.changes
# As root, lintian says that it should not run as root: there it runs as
# nobody, from the temporary folder (the checkout may lie where nobody cannot
# go, such as root's home folder), with its own temporary files (it leaves
# some behind) in a folder that is removed with the rest.
as_user=()
mkdir -m 1777 "$tmp/home" "$tmp/lintian-tmp"
if [ "$(id -u)" = 0 ]; then
  chmod -R a+rX "$tmp"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
(cd "$tmp" && "${as_user[@]}" env HOME="$tmp/home" TMPDIR="$tmp/lintian-tmp" \
  lintian --pedantic -I -E --display-experimental "$changes") \
  >"$tmp/lintian.log" 2>&1 || fail "lintian failed: $(cat "$tmp/lintian.log")"
[ ! -s "$tmp/lintian.log" ] || fail "lintian finds: $(cat "$tmp/lintian.log")"

debs=()
for package in smalltools smalltools-dev smalltools-dbgsym; do
  deb=$tmp/deb/${package}_${version}_amd64.deb
  [ -f "$deb" ] || fail "dpkg-buildpackage made no $(basename "$deb")"
  debs+=("$deb")
  dpkg-deb -x "$deb" "$tmp/root-$package"
  # The programs and the modules together, as installed.
  [ "$package" = smalltools-dbgsym ] || dpkg-deb -x "$deb" "$tmp/root"
  dpkg-deb -c "$deb" | awk '{print $6}' >"$tmp/$package.paths"
done
# paths PACKAGE ERE: fails when PACKAGE holds a path that ERE does not match.
paths() {
  local stray
  stray=$(grep -Ev "^\./(|$2|usr/|usr/share/|usr/share/doc/|usr/share/doc/$1/.*)$" \
    "$tmp/$1.paths" || true)
  [ -z "$stray" ] || fail "$1 holds what belongs elsewhere: $stray"
}
paths smalltools 'usr/bin/.*|usr/share/(man/|man/man1/.*|wordgame/.*)'
paths smalltools-dev 'usr/include/(smalltools/.*)?|usr/lib/(smalltools/.*)?|usr/share/(cmake/.*|pkgconfig/.*)'
paths smalltools-dbgsym 'usr/lib/(debug/.*)?|usr/share/doc/smalltools-dbgsym'

root=$tmp/root-smalltools
# Each program: on PATH under its name, with its manual page under the same
# name, which says in FILES where it is; stripped and hardened, its debug
# symbols under its build ID in smalltools-dbgsym.
for program in $programs; do
  name=$(path_name "$program")
  exe=$root/usr/bin/$name
  [ -f "$exe" ] || fail "smalltools has no /usr/bin/$name"
  page=$root/usr/share/man/man1/$name.1.gz
  [ -f "$page" ] || fail "smalltools has no manual page $name.1.gz"
  # (roff writes a hyphen of a command's name as \-)
  zcat "$page" | sed -n '/^\.SH FILES/,/^\.SH/{s/\\-/-/g; p}' |
    grep -qF "/usr/bin/$name" ||
    fail "the page of $program does not say in FILES that it is /usr/bin/$name"
  # It calls itself by the name it is installed under, in its usage and its
  # manual's synopsis.
  "$exe" --help | head -n 1 | grep -q "^usage: $name\b" ||
    fail "$name --help does not name it $name: $("$exe" --help | head -n 1)"
  zcat "$page" | sed -n '/^\.SH SYNOPSIS/,/^\.SH/{s/\\-/-/g; p}' |
    grep -q "^\.B $name\b" ||
    fail "the manual page of $name does not name it $name in its synopsis"
  file -b "$exe" | grep -q ', stripped' || fail "$program is not stripped"
  # Position-independent, all symbols bound at start and the relocated data
  # read-only then, a stack protector and fortified calls (every program
  # prints through a fortified call).
  { readelf -d "$exe" | grep -q 'Flags: NOW PIE' &&
    readelf -lW "$exe" | grep -q GNU_RELRO; } ||
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
{ [ ! -e "$root/usr/bin/sort" ] && [ ! -e "$root/usr/share/man/man1/sort.1.gz" ]; } ||
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
  for lib in $(ldd "$root/usr/bin/$(path_name "$program")" | grep -o '/[^ ]*'); do
    needed=$(owner "$lib")
    grep -qxF "$needed" <<<"$depends" ||
      fail "$program needs $lib from $needed, which smalltools does not depend on"
  done
done
dpkg-deb -f "${debs[1]}" Depends | grep -qw g++-multilib ||
  fail "smalltools-dev does not depend on g++-multilib"
for module in "$tmp"/root-smalltools-dev/usr/lib/smalltools/*; do
  ! readelf -SW "$module" | grep -q '\.debug_' ||
    fail "$(basename "$module") keeps its debug sections in smalltools-dev"
done
dpkg-deb -f "${debs[2]}" Depends | grep -qxF "smalltools (= $version)" ||
  fail "smalltools-dbgsym does not depend on exactly smalltools $version"

# Large-file support: the check itself finds a file built without it, and
# then finds none in the packages.
printf '#include <stdio.h>\nFILE* f(void) { return fopen("x", "r"); }\n' \
  >"$tmp/no_lfs.c"
gcc -m32 -c -o "$tmp/no_lfs.o" "$tmp/no_lfs.c"
[ "$(without_lfs "$tmp/no_lfs.o")" = "$tmp/no_lfs.o: fopen" ] ||
  fail "the large-file check does not find fopen in a 32-bit object"
found=$(without_lfs "$root"/usr/bin/* "$tmp"/root-smalltools-dev/usr/lib/smalltools/*)
[ -z "$found" ] ||
  fail "32-bit files call file functions without large-file support: $found"

# --- 3. Outside programs ---------------------------------------------------
serves "$prefix" install
serves "$tmp/root/usr" package

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
configure c "$tmp/c-src" "$prefix" -DCOMPONENTS=hash ||
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
  # shellcheck disable=SC2016  # the stand-in's own $a and $@
  printf '#!/bin/sh\nfor a; do [ "$a" != -m32 ] || { echo "no 32-bit support" >&2; exit 1; }; done\nexec %s "$@"\n' \
    "$compiler" >"$tmp/no32/$compiler"
  chmod +x "$tmp/no32/$compiler"
done
refused no32-c "$tmp/c-src" "On Debian: apt-get install gcc-multilib" \
  -DCOMPONENTS=hash -DCMAKE_C_COMPILER="$tmp/no32/gcc"
refused no32-cxx "$top/examples" "On Debian: apt-get install g++-multilib" \
  -DCMAKE_CXX_COMPILER="$tmp/no32/g++"

echo "check-install: the install tree of $build and the Debian packages" \
  "$version build and serve outside programs; lintian finds nothing"
