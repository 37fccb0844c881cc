// countup: reads a count from standard input and prints the integers below
// it on one line, each followed by ", ".

#include <unistd.h>

#include <cstdio>

#include "countup.h"

int main() { return RunCountup(stdin, STDOUT_FILENO, stderr); }
