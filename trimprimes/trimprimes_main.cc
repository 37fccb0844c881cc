// trimprimes: prints the sum of the first eleven two-sided truncatable primes
// above 10, with no newline.

#include "progutil.h"
#include "trimprimes.h"

int main(int argc, char** argv) {
  return progutil::RunMain("trimprimes", RunTrimprimes, argc, argv);
}
