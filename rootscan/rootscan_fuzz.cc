// Fuzz target for rootscan's command-line handling, scan and --roots mode:
// the input, split at NUL bytes, is the argument vector after the program
// name. Scans of more than kMaxSamples samples are only parsed, so each run
// stays short, unless x cannot move at all (the program then stops at once).
// Every run must end with status 0 and either numbered found lines in
// ascending order, the one closing line or the usage (--help), or with
// status 1 and one "rootscan: " line on standard error (followed by the three
// usage lines when the command line cannot be read). With --roots the found
// lines are strictly ascending, each value in its shortest form, and their
// multiplicities add up to the degree at most; without coefficients (and
// with an empty standard input) nothing is printed.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "roots_mode.h"
#include "rootscan.h"

namespace {

constexpr double kMaxSamples = 5000;
constexpr size_t kMaxArgs = 40;  // bounds the degree, and so pow calls

std::string ReadBack(std::FILE* f) {
  std::string text;
  std::rewind(f);
  for (int c; (c = std::fgetc(f)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(f);
  return text;
}

void CheckFoundLines(const std::string& out) {
  long long expected_number = 1;
  double last_x = -std::numeric_limits<double>::infinity();
  size_t pos = 0;
  while (pos < out.size()) {
    size_t eol = out.find('\n', pos);
    if (eol == std::string::npos) std::abort();
    std::string line = out.substr(pos, eol - pos);
    long long number = 0;
    double x = 0;
    int used = 0;
    if (std::sscanf(line.c_str(), "x%lld = %lf%n", &number, &x, &used) != 2 ||
        used != static_cast<int>(line.size()) || number != expected_number) {
      std::abort();
    }
    if (x < last_x) std::abort();  // ascending, as the step is positive
    last_x = x;
    ++expected_number;
    pos = eol + 1;
  }
}

// The --roots lines: "xK = V", V in its shortest form and strictly
// ascending (unless not `shortest`, for --digits: then a number, ascending
// as far as its double shows), then nothing, " (multiplicity M)" or " (J
// distinct roots nearest to this value, multiplicity M in all)"; M summed at
// most `degree`.
void CheckRootLines(const std::string& out, size_t degree, bool shortest) {
  long long expected_number = 1;
  double last = 0;  // the root of the line before, from the second on
  size_t total = 0, pos = 0;
  while (pos < out.size()) {
    size_t eol = out.find('\n', pos);
    if (eol == std::string::npos) std::abort();
    std::string line = out.substr(pos, eol - pos);
    long long number = 0;
    char value[64];
    int used = 0;
    if (std::sscanf(line.c_str(), "x%lld = %63s%n", &number, value, &used) !=
            2 ||
        number != expected_number) {
      std::abort();
    }
    const double x = std::strtod(value, nullptr);
    // The first may be -inf: a root below the lowest double prints so.
    const bool first = expected_number == 1;
    if (shortest ? ShortestDecimal(x) != value || !(first || x > last)
                 : !first && x < last) {
      std::abort();
    }
    std::string rest = line.substr(used);
    int roots = 1, multiplicity = 1, more = 0;
    if (std::sscanf(rest.c_str(), " (multiplicity %d)%n", &multiplicity,
                    &more) == 1 &&
        more == static_cast<int>(rest.size())) {
      if (multiplicity < 2) std::abort();
    } else if (std::sscanf(rest.c_str(),
                           " (%d distinct roots nearest to this value,"
                           " multiplicity %d in all)%n",
                           &roots, &multiplicity, &more) == 2 &&
               more == static_cast<int>(rest.size())) {
      if (roots < 2 || multiplicity < roots) std::abort();
    } else if (!rest.empty()) {
      std::abort();
    }
    total += multiplicity;
    last = x;
    ++expected_number;
    pos = eol + 1;
  }
  if (total > degree) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args;
  std::string input(reinterpret_cast<const char*>(data), size);
  for (size_t start = 0; start <= input.size() && args.size() < kMaxArgs;) {
    size_t cut = input.find('\0', start);
    if (cut == std::string::npos) cut = input.size();
    args.push_back(input.substr(start, cut - start));
    start = cut + 1;
  }

  // Long scans are skipped: finite bounds and a finite step above 0 with
  // more than kMaxSamples samples, unless x stalls at once. Every other scan
  // is refused, empty, or ends after at most one sample.
  ScanSettings s;
  std::string message;
  const bool help = args.size() == 1 && args[0] == "--help";
  const bool parsed = help || ReadCommandLine(args, &s, &message);
  // Many digits of many roots take long: beyond 40 digits, only parsed.
  if (!help && parsed && s.digits > 40) return 0;
  if (!help && parsed && !s.roots && s.start <= s.end && s.step > 0 &&
      std::isfinite(s.step) && std::isfinite(s.start) && std::isfinite(s.end)) {
    double samples = (s.end - s.start) / s.step;
    bool stalls_at_once = StepForward(s.start, s.step) == s.start;
    if (!(samples <= kMaxSamples) && !stalls_at_once) return 0;
  }

  // Standard input is empty: --roots without coefficients answers nothing.
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  int status = RunRootscan(args, in, out, err);
  std::fclose(in);
  std::string printed = ReadBack(out), complaint = ReadBack(err);

  if (status == 1) {
    // One "rootscan: " line, and the three usage lines after it when the
    // command line could not be read.
    if (complaint.rfind("rootscan: ", 0) != 0 || complaint.back() != '\n')
      std::abort();
    size_t lines = 0;
    for (char c : complaint) lines += c == '\n';
    if (lines != (parsed ? 1u : 4u)) std::abort();
    if (!parsed && complaint.find("\nusage: rootscan ") == std::string::npos)
      std::abort();
    if (!parsed && !printed.empty()) std::abort();
    CheckFoundLines(printed);
    return 0;
  }
  if (status != 0 || !complaint.empty() || !parsed) std::abort();
  if (help) {
    if (printed.rfind("usage: rootscan ", 0) != 0) std::abort();
  } else if (s.roots && s.coefficients.empty()) {
    if (!printed.empty()) std::abort();
  } else if (s.roots) {
    if (printed.rfind("No real roots from ", 0) == 0 ||
        printed.rfind("Every x from ", 0) == 0) {
      if (printed.find('\n') != printed.size() - 1) std::abort();
    } else {
      if (printed.empty()) std::abort();
      CheckRootLines(printed, s.coefficients.size() - 1, s.digits == 0);
    }
  } else if (printed.rfind("No solutions from ", 0) == 0) {
    if (printed.find('\n') != printed.size() - 1) std::abort();
  } else {
    if (printed.empty()) std::abort();
    CheckFoundLines(printed);
  }
  return 0;
}
