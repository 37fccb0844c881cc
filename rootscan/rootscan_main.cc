// rootscan [COEFFICIENT | -e TOL | -s STEP | -se VALUE | -r START END]...:
// reports the sampled points where the polynomial lies within TOL of zero;
// with --roots, its real roots themselves.

#include "progutil.h"
#include "rootscan.h"

int main(int argc, char** argv) {
  return progutil::RunMain("rootscan", RunRootscan, argc, argv);
}
