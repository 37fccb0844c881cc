#include "rootscan.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "exact_input.h"
#include "progutil.h"
#include "roots_mode.h"

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
enum class Sets {
  kTolerance,
  kStep,
  kStepAndTolerance,
  kRange,
  kRootsMode,
  kDigits
};

// An option word, how many operands follow it and what they set.
struct Option {
  const char* word;
  int operands;
  Sets sets;
};

// The option words, compared with the whole argument text.
constexpr Option kOptions[] = {
    {"-e", 1, Sets::kTolerance},         {"-s", 1, Sets::kStep},
    {"-se", 1, Sets::kStepAndTolerance}, {"-r", 2, Sets::kRange},
    {"--roots", 0, Sets::kRootsMode},    {"--digits", 1, Sets::kDigits}};

const Option* FindOption(const std::string& text) {
  for (const Option& option : kOptions) {
    if (text == option.word) return &option;
  }
  return nullptr;
}

constexpr char kUsage[] =
    "usage: rootscan [COEFFICIENT | -e TOL | -s STEP | -se VALUE |"
    " -r START END]...\n"
    "       rootscan --roots [--digits N] [COEFFICIENT | -r START END]...\n"
    "       rootscan --roots [--digits N] [-r START END] < POLYNOMIALS\n";

constexpr char kHelp[] =
    "Moves x from START to END in steps of STEP and prints every x at which\n"
    "the polynomial's value lies strictly between -TOL and TOL.\n"
    "  COEFFICIENT   a coefficient, highest power first (read like atof;\n"
    "                with --roots exactly: 12, -0.25, 1e-9, 22/7, 0x1p-3)\n"
    "  -e TOL        tolerance (default 0.01)\n"
    "  -s STEP       step (default 0.01)\n"
    "  -se VALUE     step and tolerance both\n"
    "  -r START END  range, both ends included (default -10 10)\n"
    "  --roots       prints instead each real root from START to END (default\n"
    "                all) once, ascending, as the nearest double, with its\n"
    "                multiplicity when above 1; takes no -e, -s or -se;\n"
    "                without coefficients, for each line of standard input\n"
    "  --digits N    with --roots, each root rounded to N significant digits\n"
    "                (1 to 1000) instead\n";

// "option -e has no meaning with --roots", "options -e and -s have...",
// "options -e, -s and -se have...".
std::string NoMeaningWithRoots(const std::vector<std::string>& options) {
  std::string text = options.size() == 1 ? "option " : "options ";
  for (size_t k = 0; k < options.size(); ++k) {
    if (k > 0) text += k + 1 == options.size() ? " and " : ", ";
    text += options[k];
  }
  return text + (options.size() == 1 ? " has" : " have") +
         " no meaning with --roots";
}

// The whole number of digits that text spells, from 1 to kMaxRootDigits,
// into *digits; false for any other text.
bool ReadDigitCount(const std::string& text, int* digits) {
  if (text.empty() || text.size() > 6 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  const int value = std::atoi(text.c_str());
  if (value < 1 || value > kMaxRootDigits) return false;
  *digits = value;
  return true;
}

// Samples x from s.start while x <= s.end, printing each x in the band.
// Returns false and sets *err when a write to out fails, or when x + step
// rounds back to x, which would repeat the same sample for ever; the lines
// printed so far stay.
bool Scan(const ScanSettings& s, std::FILE* out, std::string* err) {
  const int degree = static_cast<int>(s.coefficients.size()) - 1;
  // Wider than int so that a scan of more than 2^31 samples cannot overflow.
  long long found = 0;
  double x = s.start;
  while (x <= s.end) {
    double v = f(x, s.coefficients.data(), degree);
    if (-s.tolerance < v && v < s.tolerance) {
      // A failed write ends the scan at once: a long range would otherwise
      // go on computing lines that no one can read.
      errno = 0;
      std::fprintf(out, "x%lld = %f\n", found + 1, x);
      if (std::ferror(out)) return progutil::WriteError(err);
      ++found;
    }
    double next = StepForward(x, s.step);
    if (next == x) {
      char text[96];
      std::snprintf(text, sizeof text,
                    "step %.17g is too small to move x past %.17g", s.step, x);
      *err = text;
      return false;
    }
    x = next;
  }
  if (found == 0) {
    errno = 0;
    std::fprintf(out, "No solutions from %f to %f.\n", s.start, s.end);
    if (std::ferror(out)) return progutil::WriteError(err);
  }
  return true;
}

// Reads the command line and scans, or finds the roots.
progutil::Status ScanOrFindRoots(const std::vector<std::string>& args,
                                 std::FILE* in, std::FILE* out,
                                 std::FILE* /*notes*/, std::string* reason) {
  ScanSettings s;
  if (!ReadCommandLine(args, &s, reason)) return progutil::Status::kMisused;
  bool done = false;
  if (!s.roots) {
    done = CheckScan(s, reason) && Scan(s, out, reason);
  } else if (s.coefficient_texts.empty()) {
    done = PrintRootsOfLines(in, s.start, s.end, s.digits, out, reason);
  } else {
    done = PrintRealRoots(s.coefficient_texts, s.start, s.end, s.digits, out,
                          reason);
  }
  return done ? progutil::Status::kDone : progutil::Status::kFailed;
}

constexpr progutil::Program kRootscan = {"rootscan", ScanOrFindRoots, kUsage,
                                         kHelp};

}  // namespace

bool ReadCommandLine(const std::vector<std::string>& args,
                     ScanSettings* settings, std::string* err) {
  const size_t n = args.size();
  settings->coefficients.reserve(n);
  bool range_given = false;
  std::vector<std::string> scan_options;  // -e, -s, -se as given, once each
  const std::string* digits = nullptr;    // the operand of the last --digits
  for (size_t i = 0; i < n; ++i) {
    const Option* option = FindOption(args[i]);
    if (option == nullptr) {
      settings->coefficients.push_back(std::atof(args[i].c_str()));
      settings->coefficient_texts.push_back(args[i]);
      continue;
    }
    if (option->sets == Sets::kRootsMode) {
      settings->roots = true;
      continue;
    }
    if (n - 1 - i < static_cast<size_t>(option->operands)) {
      *err =
          std::string("option ") + option->word +
          (option->operands == 1 ? " needs an operand" : " needs two operands");
      return false;
    }
    double first = std::atof(args[i + 1].c_str());
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
        settings->end = std::atof(args[i + 2].c_str());
        range_given = true;
        break;
      case Sets::kDigits:
        digits = &args[i + 1];
        break;
      case Sets::kRootsMode:  // taken above: it has no operand to read
        break;
    }
    if (option->sets != Sets::kRange && option->sets != Sets::kDigits &&
        std::find(scan_options.begin(), scan_options.end(), option->word) ==
            scan_options.end()) {
      scan_options.push_back(option->word);
    }
    i += option->operands;
  }
  if (!settings->roots) {
    if (digits) *err = "option --digits has meaning only with --roots";
    return digits == nullptr;
  }
  if (!scan_options.empty()) {
    *err = NoMeaningWithRoots(scan_options);
    return false;
  }
  if (digits && !ReadDigitCount(*digits, &settings->digits)) {
    *err = "option --digits takes a whole number from 1 to " +
           std::to_string(kMaxRootDigits) + ", not " + Quoted(*digits);
    return false;
  }
  if (!range_given) {
    settings->start = -std::numeric_limits<double>::infinity();
    settings->end = std::numeric_limits<double>::infinity();
  }
  return true;
}

bool CheckScan(const ScanSettings& s, std::string* err) {
  // The scan ends when x passes the end or becomes NaN. An empty or NaN
  // range samples nothing, and a NaN step makes the second x NaN: both end
  // whatever else is set.
  if (!(s.start <= s.end) || std::isnan(s.step)) return true;
  char text[128];
  if (s.step <= 0.0) {
    std::snprintf(text, sizeof text, "step must be greater than 0, not %g",
                  s.step);
    *err = text;
    return false;
  }
  // From here the step is above 0, up to +inf. x never passes an end of
  // +inf, and the only way to NaN is -inf + inf; from -inf a finite step
  // leaves x at -inf. A finite start and end end after one sample with an
  // infinite step (x + inf passes the end); with a finite step the scan
  // runs and watches for stalling itself.
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const bool ends = s.start == -kInf ? s.step == kInf : s.end != kInf;
  if (ends) return true;
  std::snprintf(text, sizeof text,
                "the scan from %g to %g in steps of %g never ends", s.start,
                s.end, s.step);
  *err = text;
  return false;
}

int RunRootscan(const std::vector<std::string>& args, std::FILE* in,
                std::FILE* out, std::FILE* err) {
  return progutil::Run(kRootscan, args, in, out, err);
}
