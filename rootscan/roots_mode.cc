#include "roots_mode.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>

#include "real_roots.h"
#include "work_budget.h"

namespace {

// What --roots takes on. Each root costs little in itself; what grows is
// the exact arithmetic, with the degree and with the spread of the
// coefficients' sizes, and the rare polynomials that need much of it are
// refused once their work passes kMaxWork operations (limb or long double
// ones): 2 to 20 seconds here, whatever the input.
constexpr long kMaxDegree = 10000;
constexpr double kMaxWork = 2e9;

}  // namespace

std::string ShortestDecimal(double v) {
  char text[64];
  const std::to_chars_result r = std::to_chars(text, text + sizeof text, v);
  return std::string(text, r.ptr);
}

bool PrintRealRoots(const std::vector<double>& coefficients, double start,
                    double end, std::FILE* out, std::string* err) {
  for (std::size_t i = 0; i < coefficients.size(); ++i) {
    if (!std::isfinite(coefficients[i])) {
      *err = "coefficient " + std::to_string(i + 1) + " is " +
             ShortestDecimal(coefficients[i]) +
             "; --roots needs finite coefficients";
      return false;
    }
  }
  if (std::isnan(start) || std::isnan(end) || start > end) {
    *err = "the range from " + ShortestDecimal(start) + " to " +
           ShortestDecimal(end) + " is not a range: its start must be at " +
           "most its end";
    return false;
  }
  const auto lead = std::find_if(coefficients.begin(), coefficients.end(),
                                 [](double c) { return c != 0; });
  const bool zero = lead == coefficients.end();
  const long degree = zero ? 0 : coefficients.end() - lead - 1;
  if (degree > kMaxDegree) {
    *err = "degree " + std::to_string(degree) + " is above " +
           std::to_string(kMaxDegree) + ", the highest --roots takes";
    return false;
  }
  std::vector<RealRoot> roots;
  try {
    const WorkBudget budget(kMaxWork);
    if (!zero) roots = RealRoots(coefficients, start, end);
  } catch (const WorkExceeded&) {
    *err = "degree " + std::to_string(degree) +
           ": finding these roots takes more than 2e9 steps, the most " +
           "--roots allows";
    return false;
  }
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
