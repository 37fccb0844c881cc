// sort COUNT: draws COUNT values, each rand() % COUNT after srand(0), and
// merge-sorts them. It prints nothing: its running time is what it shows.

#include "progutil.h"
#include "sort_program.h"

int main(int argc, char** argv) {
  return progutil::RunMain(kSortName, RunSort, argc, argv);
}
