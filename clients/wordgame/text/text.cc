#include "text/text.h"

#include <charconv>

#include "text/utf8.h"

namespace {

// ASCII's blanks only, whatever the locale: in some, a byte of a UTF-8
// letter (0xA0 of "\xC3\xA0", say) is a blank of its own.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::string Tidy(const std::string& line) {
  std::size_t begin = 0, end = line.size();
  while (begin < end && IsBlank(line[begin])) ++begin;
  while (end > begin && IsBlank(line[end - 1])) --end;
  std::string word = line.substr(begin, end - begin);
  for (char& c : word) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return word;
}

std::string CountOf(std::uint64_t n, const std::string& noun) {
  const char* plural = noun.back() == 's' ? "es" : "s";
  return std::to_string(n) + " " + noun + (n == 1 ? "" : plural);
}

std::string Hex(std::uint64_t value, int digits) {
  std::string hex(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) {
    hex[static_cast<std::size_t>(i)] = "0123456789abcdef"[value & 15];
  }
  return hex;
}

bool ParseNumber(const std::string& field, std::uint64_t max,
                 std::uint64_t* value, int base) {
  const char* end = field.data() + field.size();
  auto [at, ec] = std::from_chars(field.data(), end, *value, base);
  return ec == std::errc() && at == end && !field.empty() && *value <= max;
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    text += (i ? " " : "") + parts[i];
  }
  return text;
}

bool AllLetters(const std::string& s) {
  for (char c : s) {
    if (c < 'a' || c > 'z') return false;
  }
  return true;
}

bool IsWord(const std::string& s) {
  std::string lowered;
  const std::size_t letters = Columns(s);
  return letters >= 1 && letters <= kMaxWordLetters &&
         LowerLetters(s, &lowered) && lowered == s;
}

std::string Spaced(const std::string& shown) {
  std::string spaced;
  for (char c : shown) {
    if (!spaced.empty()) spaced += ' ';
    spaced += c;
  }
  return spaced;
}
