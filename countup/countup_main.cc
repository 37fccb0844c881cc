// countup: reads a count from standard input and prints the integers below
// it on one line, each followed by ", ".

#include "countup.h"
#include "progutil.h"

int main(int argc, char** argv) {
  return progutil::RunMain("countup", RunCountup, argc, argv);
}
