// orderdemo: draws ten values from 0 to 9, prints them, merge-sorts them and
// prints them again.

#include "orderdemo.h"
#include "progutil.h"

int main(int argc, char** argv) {
  return progutil::RunMain("orderdemo", RunOrderdemo, argc, argv);
}
