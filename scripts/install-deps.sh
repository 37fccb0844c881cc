#!/usr/bin/env bash
# install-deps.sh [PACKAGE...]: installs what the project needs on Debian 12
# (and any extra Debian PACKAGEs named) and makes sure 32-bit x86 programs
# run. Does nothing when everything is there already. Installing needs root.
# A script that needs more than the build and the tests names it here, so a
# bare machine gets it: fuzz.sh passes clang, tidy.sh clang-tidy, a script
# written in Python `scripts/install-deps.sh python3`.
set -euo pipefail
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
help_if_asked "$@"
for p in "$@"; do
  case $p in
    -*) echo "usage: scripts/install-deps.sh [PACKAGE...]" >&2; exit 1 ;;
  esac
done

# ncurses for wordgame's full screen, 32-bit for the program and x86-64 for
# the sanitized build; tmux drives that full screen in its test.
# ccache keeps compiled objects for the next build (scripts/build.sh).
needed=(g++ g++-multilib cmake make ninja-build ccache googletest pkg-config
        lib32ncurses-dev libncurses-dev tmux "$@")
# dpkg-dev builds packages only with build-essential, which it merely
# recommends (and recommendations are not installed here).
for p in "$@"; do
  [ "$p" != dpkg-dev ] || needed+=(build-essential)
done

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"
  elif command -v sudo >/dev/null; then sudo "$@"
  else echo "install-deps: run as root to install: $*" >&2; exit 1
  fi
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

install_packages() {
  local missing=() p log
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  # A line for what is asked, then one per package as apt sets it up (with
  # what those need); apt's whole transcript is shown only when it fails.
  echo "install-deps: installing ${missing[*]} (with what they need)"
  log=$(mktemp)
  echo "install-deps: reading the package lists"
  if ! as_root apt-get update -q >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "install-deps: apt-get update failed" >&2
    exit 1
  fi
  if ! as_root env DEBIAN_FRONTEND=noninteractive \
       apt-get install -y -q --no-install-recommends "${missing[@]}" 2>&1 |
     tee -a "$log" |
     awk '/ upgraded, .* newly installed, / { n = $1 + $3 }
          /^Need to get / { size = $0; sub(/^Need to get /, "", size)
                            sub(/ of archives.*/, "", size)
                            printf "install-deps: downloading %s\n", size; fflush() }
          /^Setting up / { printf "install-deps: [%d/%s] %s\n", ++k, n, $3; fflush() }'
  then
    cat "$log" >&2
    rm -f "$log"
    echo "install-deps: installing ${missing[*]} failed" >&2
    exit 1
  fi
  rm -f "$log"
}

# Builds and starts a trivial 32-bit program; true when it ran.
runs_32bit() {
  local dir rc=0
  dir=$(mktemp -d)
  echo 'int main() { return 0; }' > "$dir/probe.cc"
  g++ -m32 "$dir/probe.cc" -o "$dir/probe" && "$dir/probe" 2>/dev/null || rc=1
  rm -rf "$dir"
  return $rc
}

# Some kernels are built or booted without 32-bit support. There, qemu's
# user-mode emulator runs 32-bit programs, registered with binfmt_misc so
# that they start like any other program.
enable_32bit() {
  install_packages qemu-user
  local misc=/proc/sys/fs/binfmt_misc
  [ -e "$misc/register" ] || as_root mount -t binfmt_misc binfmt_misc "$misc"
  if [ -e "$misc/qemu-i386" ]; then
    echo 1 | as_root tee "$misc/qemu-i386" >/dev/null
  else
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386:F" |
      as_root tee "$misc/register" >/dev/null
  fi
}

install_packages "${needed[@]}"
if ! runs_32bit; then
  echo "install-deps: this kernel does not run 32-bit programs; enabling qemu-i386"
  enable_32bit
  runs_32bit || { echo "install-deps: 32-bit programs still do not run" >&2; exit 1; }
fi
