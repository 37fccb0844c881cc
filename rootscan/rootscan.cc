#include "rootscan.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

// Every double below must be a true IEEE double. With x87 arithmetic for
// double, g++ keeps excess precision wherever the optimiser likes and the
// results would depend on the optimisation level; SSE2 double arithmetic
// rounds every double operation and every conversion from long double.
#if defined(__i386__) && !defined(__SSE2_MATH__)
#error \
    "rootscan must be built with SSE2 double arithmetic (-msse2 -mfpmath=sse)"
#endif

static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the x87 80-bit extended type");

double f(double x, const double* coefficients, int degree) {
  // One pow call per term, highest power first (no Horner scheme): the order
  // and the roundings decide the last bits of the value, and those decide
  // whether a sample at the edge of the band is reported.
  double sum = 0.0;
  for (int power = degree; power >= 0; --power) {
    double p = std::pow(x, static_cast<double>(power));
    long double term =
        static_cast<long double>(coefficients[degree - power]) * p;
    sum = static_cast<double>(sum + term);
  }
  return sum;
}

double StepForward(double x, double step) {
  return static_cast<double>(static_cast<long double>(x) + step);
}

namespace {

// What an option sets.
enum class Sets { kTolerance, kStep, kStepAndTolerance, kRange };

// An option word, how many operands follow it and what they set.
struct Option {
  const char* word;
  int operands;
  Sets sets;
};

// The option words, compared with the whole argument text.
constexpr Option kOptions[] = {{"-e", 1, Sets::kTolerance},
                               {"-s", 1, Sets::kStep},
                               {"-se", 1, Sets::kStepAndTolerance},
                               {"-r", 2, Sets::kRange}};

const Option* FindOption(const char* text) {
  for (const Option& option : kOptions) {
    if (std::strcmp(text, option.word) == 0) return &option;
  }
  return nullptr;
}

}  // namespace

std::string ReadCommandLine(int argc, const char* const* argv,
                            ScanSettings* settings) {
  settings->coefficients.reserve(argc > 1 ? argc - 1 : 0);
  for (int i = 1; i < argc; ++i) {
    const Option* option = FindOption(argv[i]);
    if (option == nullptr) {
      settings->coefficients.push_back(std::atof(argv[i]));
      continue;
    }
    if (argc - 1 - i < option->operands) {
      return std::string("option ") + option->word +
             (option->operands == 1 ? " needs an operand"
                                    : " needs two operands");
    }
    double first = std::atof(argv[i + 1]);
    switch (option->sets) {
      case Sets::kTolerance:
        settings->tolerance = first;
        break;
      case Sets::kStep:
        settings->step = first;
        break;
      case Sets::kStepAndTolerance:
        settings->step = first;
        settings->tolerance = first;
        break;
      case Sets::kRange:
        settings->start = first;
        settings->end = std::atof(argv[i + 2]);
        break;
    }
    i += option->operands;
  }
  return "";
}

int RunRootscan(int argc, const char* const* argv, std::FILE* out,
                std::FILE* err) {
  ScanSettings s;
  std::string complaint = ReadCommandLine(argc, argv, &s);
  if (!complaint.empty()) {
    std::fprintf(err, "rootscan: %s\n", complaint.c_str());
    return 1;
  }
  // Only a range that holds at least one sample needs a step that moves x
  // forward; an empty or NaN range prints the closing line whatever the step.
  // A NaN step passes: the first x + step is NaN and ends the scan.
  if (s.start <= s.end && s.step <= 0.0) {
    std::fprintf(err, "rootscan: step must be greater than 0, not %g\n",
                 s.step);
    return 1;
  }
  // An infinite bound gives a range no step can cross: x would only stop
  // advancing after some 1e16 samples, which is a hang in all but name.
  if (s.start <= s.end && (std::isinf(s.start) || std::isinf(s.end))) {
    std::fprintf(err, "rootscan: range %g to %g is not finite\n", s.start,
                 s.end);
    return 1;
  }

  const int degree = static_cast<int>(s.coefficients.size()) - 1;
  // Wider than int so that a scan of more than 2^31 samples cannot overflow.
  long long found = 0;
  double x = s.start;
  while (x <= s.end) {
    double v = f(x, s.coefficients.data(), degree);
    if (-s.tolerance < v && v < s.tolerance) {
      std::fprintf(out, "x%lld = %f\n", found + 1, x);
      ++found;
    }
    double next = StepForward(x, s.step);
    if (next == x) {
      // x + step rounds back to x: the scan would never end.
      std::fflush(out);
      std::fprintf(err,
                   "rootscan: step %.17g is too small to move x past %.17g\n",
                   s.step, x);
      return 1;
    }
    x = next;
  }
  if (found == 0) {
    std::fprintf(out, "No solutions from %f to %f.\n", s.start, s.end);
  }
  if (std::fflush(out) != 0 || std::ferror(out)) {
    std::fprintf(err, "rootscan: write error: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}
