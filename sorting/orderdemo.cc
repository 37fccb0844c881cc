#include "orderdemo.h"

#include <cstdlib>

#include "progutil.h"
#include "sort.h"

namespace {

// How many values are drawn; each lies from 0 to kValues - 1, so that every
// one prints as a single digit.
constexpr int kValues = 10;

constexpr char kUsage[] = "usage: orderdemo\n";

// What --help prints after the usage line.
constexpr char kHelp[] =
    "Draws ten values from 0 to 9 (the generator seeded with 0), prints them,\n"
    "merge-sorts them and prints them again. Takes no arguments or input.\n";

progutil::Status PrintDrawAndOrder(const std::vector<std::string>& /*args*/,
                                   std::FILE* /*in*/, std::FILE* out,
                                   std::FILE* /*notes*/,
                                   std::string* /*reason*/) {
  int values[kValues];
  std::srand(0);
  for (int& v : values) v = std::rand() % kValues;
  print_arr_to(out, values, kValues);
  mergesort(values, kValues);
  print_arr_to(out, values, kValues);
  return progutil::Status::kDone;
}

constexpr progutil::Program kOrderdemo = {"orderdemo", PrintDrawAndOrder,
                                          kUsage, kHelp};

}  // namespace

int RunOrderdemo(const std::vector<std::string>& args, std::FILE* in,
                 std::FILE* out, std::FILE* err) {
  return progutil::Run(kOrderdemo, args, in, out, err);
}
