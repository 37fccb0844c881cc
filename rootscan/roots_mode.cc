#include "roots_mode.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

#include "decimal_roots.h"
#include "exact_input.h"
#include "progutil.h"
#include "real_roots.h"
#include "work_budget.h"

namespace {

// What --roots takes on. Each root costs little in itself; what grows is
// the exact arithmetic, with the degree and with the spread of the
// coefficients' sizes, and the rare polynomials that need much of it are
// refused once their work passes kMaxWork operations (limb or long double
// ones): 2 to 20 seconds here, whatever the input. The memory that the
// exact arithmetic holds at once is held to kMaxMemory bytes (512 MiB),
// which keeps the whole program below 1 GiB.
constexpr long kMaxDegree = 10000;
constexpr double kMaxWork = 2e9;
constexpr std::size_t kMaxMemory = std::size_t{512} << 20;

// What --roots answers for one polynomial: its roots as decimal text.
struct Answer {
  bool zero = false;  // the zero polynomial: every x is a root
  std::vector<DecimalRoot> roots;
};

// The roots of p (not zero), each as its nearest double in the shortest
// text (digits 0) or rounded to `digits` significant digits.
std::vector<DecimalRoot> Roots(IntPoly p, double start, double end,
                               int digits) {
  if (digits > 0) return DecimalRoots(std::move(p), start, end, digits);
  std::vector<DecimalRoot> lines;
  for (const RealRoot& r : RealRoots(std::move(p), start, end))
    lines.push_back({ShortestDecimal(r.value), r.multiplicity, r.roots});
  return lines;
}

bool RangeIsSound(double start, double end, std::string* err) {
  if (!std::isnan(start) && !std::isnan(end) && start <= end) return true;
  *err = "the range from " + ShortestDecimal(start) + " to " +
         ShortestDecimal(end) + " is not a range: its start must be at " +
         "most its end";
  return false;
}

// The roots of the coefficients numbers (from the first that is not 0 on,
// at most kMaxDegree + 1 of them) into *answer; false with *err when
// finding them takes more than the allowance.
bool FindRoots(const std::vector<WrittenNumber>& numbers, double start,
               double end, int digits, Answer* answer, std::string* err) {
  answer->zero = numbers.empty();
  if (answer->zero) return true;
  std::vector<Fraction> values;
  values.reserve(numbers.size());
  for (const WrittenNumber& n : numbers) values.push_back(ExactValue(n));
  try {
    const WorkBudget budget(kMaxWork, kMaxMemory);
    answer->roots = Roots(ClearDenominators(values), start, end, digits);
  } catch (const WorkExceeded& e) {
    *err = "degree " + std::to_string(numbers.size() - 1) +
           ": finding these roots takes more than " +
           (e.memory ? "512 MiB of memory" : "2e9 steps") +
           ", the most --roots allows";
    return false;
  }
  return true;
}

// Checks every coefficient, then the degree, into *numbers (from the first
// that is not 0 on); false with *err for coefficients that are refused.
bool CheckCoefficients(const std::vector<std::string>& coefficients,
                       std::vector<WrittenNumber>* numbers, std::string* err) {
  // Every number is checked, and the degree, before any value is made: the
  // values of a long list of large numbers would take long to make.
  numbers->resize(coefficients.size());
  std::string reason;
  for (std::size_t i = 0; i < coefficients.size(); ++i) {
    if (!CheckExact(coefficients[i], &(*numbers)[i], &reason)) {
      *err = "coefficient " + std::to_string(i + 1) + ", " +
             Quoted(coefficients[i]) + ", " + reason;
      return false;
    }
  }
  const auto lead =
      std::find_if(numbers->begin(), numbers->end(),
                   [](const WrittenNumber& n) { return !n.zero; });
  const long degree = numbers->end() - lead - 1;
  if (degree > kMaxDegree) {
    *err = "degree " + std::to_string(degree) + " is above " +
           std::to_string(kMaxDegree) + ", the highest --roots takes";
    return false;
  }
  numbers->erase(numbers->begin(), lead);
  return true;
}

void PrintAnswer(const Answer& answer, double start, double end,
                 std::FILE* out) {
  errno = 0;  // so that it holds the reason of a write that fails here
  if (answer.zero) {
    std::fprintf(out, "Every x from %f to %f is a root.\n", start, end);
  } else if (answer.roots.empty()) {
    std::fprintf(out, "No real roots from %f to %f.\n", start, end);
  }
  for (std::size_t i = 0; i < answer.roots.size(); ++i) {
    const DecimalRoot& r = answer.roots[i];
    std::fprintf(out, "x%zu = %s", i + 1, r.text.c_str());
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
}

// How reading a line of coefficients ended.
enum class Line { kEnd, kRead, kRefused };

// Whether c separates words: a space, a tab, a carriage return.
bool IsBlank(int c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Reads the next line of in into *numbers, as CheckCoefficients reads the
// command line's, word by word and in memory that does not grow with the
// line: a word is refused at its first byte beyond a limit, the line at
// its first coefficient beyond the highest degree (the zeros that lead it
// are checked and dropped), with *err set, the rest left unread. kEnd at
// the end of the input or when reading fails (even halfway through a line).
Line ReadCoefficients(std::FILE* in, std::vector<WrittenNumber>* numbers,
                      std::string* err) {
  numbers->clear();
  int c = std::getc(in);
  if (c == EOF) return Line::kEnd;
  long words = 0;
  bool in_word = false;
  NumberReader reader;
  // The word refused, as far as its message quotes it (read on to there
  // unless it has ended).
  auto refuse = [&](bool ended) {
    while (!ended && reader.start().size() <= kQuotedBytes) {
      c = std::getc(in);
      ended = c == EOF || c == '\n' || IsBlank(c);
      if (!ended) reader.Add(static_cast<char>(c));
    }
    *err = "coefficient " + std::to_string(words) + ", " +
           Quoted(reader.start()) + ", " + reader.reason();
    return Line::kRefused;
  };
  for (;; c = std::getc(in)) {
    const bool ends_line = c == EOF || c == '\n';
    if (!ends_line && !IsBlank(c)) {
      if (!in_word) {
        reader = NumberReader();
        in_word = true;
        ++words;
      }
      if (!reader.Add(static_cast<char>(c))) return refuse(false);
      continue;
    }
    if (in_word) {
      in_word = false;
      WrittenNumber n;
      if (!reader.Finish(&n)) return refuse(true);
      if (numbers->size() == static_cast<std::size_t>(kMaxDegree) + 1) {
        *err = "degree above " + std::to_string(kMaxDegree) +
               ", the highest --roots takes";
        return Line::kRefused;
      }
      if (!numbers->empty() || !n.zero) numbers->push_back(std::move(n));
    }
    if (ends_line) break;
  }
  return std::ferror(in) ? Line::kEnd : Line::kRead;
}

}  // namespace

std::string ShortestDecimal(double v) {
  char text[64];
  const std::to_chars_result r = std::to_chars(text, text + sizeof text, v);
  return std::string(text, r.ptr);
}

bool PrintRealRoots(const std::vector<std::string>& coefficients, double start,
                    double end, int digits, std::FILE* out, std::string* err) {
  std::vector<WrittenNumber> numbers;
  Answer answer;
  if (!RangeIsSound(start, end, err) ||
      !CheckCoefficients(coefficients, &numbers, err) ||
      !FindRoots(numbers, start, end, digits, &answer, err)) {
    return false;
  }
  PrintAnswer(answer, start, end, out);
  return true;
}

bool PrintRootsOfLines(std::FILE* in, double start, double end, int digits,
                       std::FILE* out, std::string* err) {
  if (!RangeIsSound(start, end, err)) return false;
  std::vector<WrittenNumber> numbers;
  for (long number = 1;; ++number) {
    const Line line = ReadCoefficients(in, &numbers, err);
    if (line == Line::kEnd) break;
    Answer answer;
    if (line == Line::kRefused ||
        !FindRoots(numbers, start, end, digits, &answer, err)) {
      *err = "line " + std::to_string(number) + ": " + *err;
      return false;
    }
    if (number > 1) std::fputc('\n', out);
    PrintAnswer(answer, start, end, out);
    // Each answer goes out at once, for a program that writes a line and
    // waits for its answer.
    if (!progutil::FlushOutput(out, err)) return false;
  }
  if (std::ferror(in)) {
    *err = std::string("read error: ") + std::strerror(errno ? errno : EIO);
    return false;
  }
  return true;
}
