#include "text/utf8.h"

#include <locale.h>
#include <wctype.h>

namespace {

// The C library's Unicode tables, through the C.UTF-8 locale of its own
// (glibc has it built in): the player's locale may be of another character
// set, or none. Null when there is none; then letters are a to z only.
locale_t Unicode() {
  static const locale_t unicode =
      newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return unicode;
}

bool IsAsciiLetter(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

// The UTF-8 rules: a lead byte and its continuation bytes, the shortest form
// only, no surrogates, nothing beyond U+10FFFF.
bool NextChar(std::string_view s, std::size_t* at, char32_t* c) {
  const unsigned char lead = static_cast<unsigned char>(s[*at]);
  ++*at;
  if (lead < 0x80) {
    *c = lead;
    return true;
  }
  int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (more == 0 || lead > 0xF4) return false;
  char32_t value = lead & (0x3F >> more);
  std::size_t next = *at;
  for (int i = 0; i < more; ++i, ++next) {
    if (next >= s.size()) return false;
    const unsigned char byte = static_cast<unsigned char>(s[next]);
    if ((byte & 0xC0) != 0x80) return false;
    value = value << 6 | (byte & 0x3F);
  }
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (value < kLeast[more] || value > 0x10FFFF ||
      (value >= 0xD800 && value <= 0xDFFF)) {
    return false;
  }
  *at = next;
  *c = value;
  return true;
}

std::string Utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::size_t Columns(std::string_view s) {
  std::size_t columns = 0;
  for (char byte : s) {
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++columns;
  }
  return columns;
}

bool IsLetterChar(char32_t c) {
  if (c < 0x80 || Unicode() == nullptr) return IsAsciiLetter(c);
  return iswalpha_l(static_cast<wint_t>(c), Unicode()) != 0;
}

char32_t LowerChar(char32_t c) {
  if (c < 0x80 || Unicode() == nullptr) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
  }
  return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), Unicode()));
}

char32_t UpperChar(char32_t c) {
  if (c < 0x80 || Unicode() == nullptr) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
  }
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), Unicode()));
}

bool LowerLetters(std::string_view text, std::string* lowered) {
  lowered->clear();
  for (std::size_t at = 0; at < text.size();) {
    const char byte = text[at];
    if (IsAsciiLetter(static_cast<unsigned char>(byte))) {  // most letters
      *lowered += static_cast<char>(byte | 0x20);
      ++at;
      continue;
    }
    char32_t c;
    if (!NextChar(text, &at, &c) || !IsLetterChar(c)) return false;
    *lowered += Utf8(LowerChar(c));
  }
  return true;
}

void LoadUnicodeTables() { Unicode(); }
