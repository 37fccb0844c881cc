// countup: reads a count from standard input and prints the integers below
// it on one line, each followed by ", ".

#include <cstdio>

#include "countup.h"

int main(int argc, char** argv) {
  return RunCountup({argv + 1, argv + argc}, stdin, stdout, stderr);
}
