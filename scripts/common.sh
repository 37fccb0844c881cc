# shellcheck shell=bash
# common.sh: sourced by the scripts beside it; what they do alike.

# help_if_asked "$@": with -h or --help as the first argument, prints the
# calling script's opening comment (its usage and what it does) and exits 0.
help_if_asked() {
  case ${1:-} in
    -h | --help)
      sed -n '2,/^[^#]/{/^[^#]/d; s/^# \{0,1\}//; p}' "$0"
      exit 0 ;;
  esac
}

# use_ccache DIR: when ccache is installed, makes every CMake build folder
# configured from now on in this shell compile through it, with the paths
# under DIR hashed relative to DIR (CCACHE_BASEDIR) and the build folder not
# at all (CCACHE_NOHASHDIR): a second build of the same sources, in the same
# folder or in a clone elsewhere, takes each object from the cache.
# The cache folder is named outright: a Debian package build moves HOME
# into the package's tree, where ccache would otherwise start a cache anew.
use_ccache() {
  command -v ccache >/dev/null || return 0
  local launcher
  launcher="$(command -v cmake);-E;env;CCACHE_DIR=$(ccache -k cache_dir)"
  launcher+=";CCACHE_BASEDIR=$1;CCACHE_NOHASHDIR=true;ccache"
  export CMAKE_C_COMPILER_LAUNCHER=$launcher CMAKE_CXX_COMPILER_LAUNCHER=$launcher
}
