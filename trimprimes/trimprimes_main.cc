// trimprimes: prints the sum of the first eleven two-sided truncatable primes
// above 10, with no newline.

#include <cstdio>

#include "trimprimes.h"

int main(int argc, char** argv) {
  return RunTrimprimes({argv + 1, argv + argc}, stdin, stdout, stderr);
}
