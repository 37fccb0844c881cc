// orderdemo: draws ten values from 0 to 9, prints them, merge-sorts them and
// prints them again.

#include <cstdio>

#include "orderdemo.h"

int main(int argc, char** argv) {
  return RunOrderdemo({argv + 1, argv + argc}, stdin, stdout, stderr);
}
