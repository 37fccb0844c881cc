#include "roots_mode.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>

#include "exact_input.h"
#include "real_roots.h"

namespace {

// The highest degree --roots takes. The exact arithmetic grows with the
// degree and with the spread of the coefficients' sizes: at degree 100,
// coefficients spread over the whole range of doubles take seconds.
constexpr long kMaxDegree = 100;

}  // namespace

std::string ShortestDecimal(double v) {
  char text[64];
  const std::to_chars_result r = std::to_chars(text, text + sizeof text, v);
  return std::string(text, r.ptr);
}

bool PrintRealRoots(const std::vector<std::string>& coefficients, double start,
                    double end, std::FILE* out, std::string* err) {
  // Every number is checked, and the degree, before any value is made: the
  // values of a long list of large numbers would take long to make.
  std::vector<WrittenNumber> numbers(coefficients.size());
  std::string reason;
  for (std::size_t i = 0; i < coefficients.size(); ++i) {
    if (!CheckExact(coefficients[i], &numbers[i], &reason)) {
      *err = "coefficient " + std::to_string(i + 1) + ", " +
             Quoted(coefficients[i]) + ", " + reason;
      return false;
    }
  }
  if (std::isnan(start) || std::isnan(end) || start > end) {
    *err = "the range from " + ShortestDecimal(start) + " to " +
           ShortestDecimal(end) + " is not a range: its start must be at " +
           "most its end";
    return false;
  }
  const auto lead =
      std::find_if(numbers.begin(), numbers.end(),
                   [](const WrittenNumber& n) { return !n.zero; });
  const bool zero = lead == numbers.end();
  const long degree = zero ? 0 : numbers.end() - lead - 1;
  if (degree > kMaxDegree) {
    *err = "degree " + std::to_string(degree) + " is above " +
           std::to_string(kMaxDegree) + ", the highest --roots takes";
    return false;
  }
  std::vector<Fraction> values;
  for (auto n = lead; n != numbers.end(); ++n) values.push_back(ExactValue(*n));
  const std::vector<RealRoot> roots =
      zero ? std::vector<RealRoot>()
           : RealRoots(ClearDenominators(values), start, end);
  errno = 0;  // so that it holds the reason of a write that fails here
  if (zero) {
    std::fprintf(out, "Every x from %f to %f is a root.\n", start, end);
  } else if (roots.empty()) {
    std::fprintf(out, "No real roots from %f to %f.\n", start, end);
  }
  for (std::size_t i = 0; i < roots.size(); ++i) {
    const RealRoot& r = roots[i];
    std::fprintf(out, "x%zu = %s", i + 1, ShortestDecimal(r.value).c_str());
    if (r.roots > 1) {
      std::fprintf(out,
                   " (%d distinct roots nearest to this value,"
                   " multiplicity %d in all)",
                   r.roots, r.multiplicity);
    } else if (r.multiplicity > 1) {
      std::fprintf(out, " (multiplicity %d)", r.multiplicity);
    }
    std::fputc('\n', out);
  }
  return true;
}
