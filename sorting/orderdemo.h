#ifndef SORTING_ORDERDEMO_H_
#define SORTING_ORDERDEMO_H_

// orderdemo: draws ten values from 0 to 9 (the generator seeded with 0),
// prints them, merge-sorts them and prints them again.

#include <cstdio>
#include <string>
#include <vector>

/// The whole program, given the arguments after the program name: writes the
/// ten values as drawn and then sorted to out, one line each with every
/// value as "%d, ", and returns 0; or, for "--help" as the only argument,
/// the usage. Other arguments and in are ignored. Returns 1 after
/// "orderdemo: write error: <reason>" on err when writing to out fails.
int RunOrderdemo(const std::vector<std::string>& args, std::FILE* in,
                 std::FILE* out, std::FILE* err);

#endif  // SORTING_ORDERDEMO_H_
