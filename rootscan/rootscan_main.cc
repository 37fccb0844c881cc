// rootscan [COEFFICIENT | -e TOL | -s STEP | -se VALUE | -r START END]...:
// reports the sampled points where the polynomial lies within TOL of zero.

#include <cstdio>

#include "rootscan.h"

int main(int argc, char** argv) {
  return RunRootscan({argv + 1, argv + argc}, stdin, stdout, stderr);
}
