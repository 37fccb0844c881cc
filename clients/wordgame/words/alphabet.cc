#include "words/alphabet.h"

#include <algorithm>
#include <utility>

#include "text/utf8.h"

namespace {

// The codes of the letters beyond a to z, from the first byte after 'z' on.
constexpr unsigned kFirstOther = 'z' + 1;

// The first code point of three bytes in UTF-8.
constexpr char32_t kTwoByteEnd = 0x800;

// The i-th byte for a letter beyond a to z, or 0 past the last.
unsigned char NthOther(std::size_t i) {
  unsigned byte = kFirstOther;
  for (;; ++byte) {
    if (byte == 0x85 || byte == 0xA0) continue;  // blanks in Latin-1
    if (i-- == 0) break;
  }
  return byte <= 0xFF ? static_cast<unsigned char>(byte) : 0;
}

// The letter without its accent, for the lower-case letters of Latin-1,
// Latin Extended-A, Greek with tonos and dialytika, and ё; 0 for a letter
// that has no such base (æ, ß, ł, ...). One character of each table per
// code point from its start, "." for none.
char32_t BaseOf(char32_t c) {
  static constexpr char kLatin1[] =  // U+00E0 to U+00FF
      "aaaaaa.ceeeeiiii.nooooo..uuuuy.y";
  static constexpr char kLatinA[] =  // U+0100 to U+017F
      "aaaaaaccccccccdd..eeeeeeeeeegggggggghh..iiiiiiii"
      "i...jjkk.llllll....nnnnnn...oooooo..rrrrrrssssss"
      "sstttt..uuuuuuuuuuuuwwyyyzzzzzz.";
  char base = '.';
  if (c >= 0xE0 && c <= 0xFF) base = kLatin1[c - 0xE0];
  if (c >= 0x100 && c <= 0x17F) base = kLatinA[c - 0x100];
  if (base != '.') return static_cast<char32_t>(base);
  switch (c) {
    case U'ά':
      return U'α';
    case U'έ':
      return U'ε';
    case U'ή':
      return U'η';
    case U'ί':
    case U'ϊ':
    case U'ΐ':
      return U'ι';
    case U'ό':
      return U'ο';
    case U'ύ':
    case U'ϋ':
    case U'ΰ':
      return U'υ';
    case U'ώ':
      return U'ω';
    case U'ς':
      return U'σ';
    case U'ё':
      return U'е';
    default:
      return 0;
  }
}

}  // namespace

Alphabet::Alphabet(bool latin)
    : letters_(256, 0),
      keys_(256, '\0'),
      two_byte_(kTwoByteEnd, 0),
      latin_(latin) {
  for (unsigned byte = 0; byte < 256; ++byte) {
    keys_[byte] = static_cast<char>(byte);
  }
  for (char32_t c = 'a'; c <= 'z'; ++c) letters_[c] = c;
}

unsigned char Alphabet::Add(char32_t c) {
  if (c >= 'a' && c <= 'z') {
    latin_ = true;
    return static_cast<unsigned char>(c);
  }
  if (c < kTwoByteEnd && two_byte_[c] != 0) return two_byte_[c];
  auto known = others_.find(c);
  if (known != others_.end()) return known->second;
  const unsigned char code = NthOther(others_.size());
  if (code == 0) return 0;
  others_.emplace(c, code);
  if (c < kTwoByteEnd) two_byte_[c] = code;
  letters_[code] = c;
  return code;
}

bool Alphabet::AddWord(std::string_view lowered, std::string* codes) {
  codes->clear();
  for (std::size_t at = 0; at < lowered.size();) {
    char32_t c = 0;
    NextChar(lowered, &at, &c);
    const unsigned char code = Add(c);
    if (code == 0) return false;
    *codes += static_cast<char>(code);
  }
  return true;
}

std::string Alphabet::Sort() {
  std::vector<std::pair<char32_t, unsigned char>> order(others_.begin(),
                                                        others_.end());
  std::sort(order.begin(), order.end());
  std::string remap = keys_;  // every byte its own, before any folding
  for (std::size_t i = 0; i < order.size(); ++i) {
    const unsigned char code = NthOther(i);
    remap[order[i].second] = static_cast<char>(code);
    letters_[code] = order[i].first;
    others_[order[i].first] = code;
    if (order[i].first < kTwoByteEnd) two_byte_[order[i].first] = code;
  }
  return remap;
}

void Alphabet::FoldAccents() {
  folds_ = true;
  for (const auto& [letter, code] : others_) {
    const char32_t base = BaseOf(letter);
    const unsigned char key = base == 0 ? 0 : CodeOf(base);
    if (key != 0) keys_[code] = static_cast<char>(key);
  }
}

// a to z come first, as the codes do.
std::vector<unsigned char> Alphabet::Line() const {
  std::vector<unsigned char> line;
  bool latin = latin_;
  for (const auto& entry : others_) {
    latin = latin || Key(entry.second) <= 'z';
  }
  for (unsigned code = latin ? 'a' : kFirstOther; code < 256; ++code) {
    if (letters_[code] != 0 && Key(static_cast<unsigned char>(code)) == code) {
      line.push_back(static_cast<unsigned char>(code));
    }
  }
  return line;
}

std::string Alphabet::Letter(unsigned char code) const {
  return letters_[code] != 0 ? Utf8(letters_[code])
                             : std::string(1, static_cast<char>(code));
}

std::string Alphabet::Capital(unsigned char code) const {
  return letters_[code] != 0 ? Utf8(UpperChar(letters_[code]))
                             : std::string(1, static_cast<char>(code));
}

std::string Alphabet::Decode(std::string_view codes) const {
  if (ascii()) return std::string(codes);
  std::string text;
  for (char code : codes) text += Letter(static_cast<unsigned char>(code));
  return text;
}

bool Alphabet::Encode(std::string_view text, std::string* codes) const {
  codes->clear();
  for (std::size_t at = 0; at < text.size();) {
    char32_t c = 0;
    if (!NextChar(text, &at, &c)) return false;
    const unsigned char code = CodeOf(LowerChar(c));
    if (code == 0) return false;
    *codes += static_cast<char>(code);
  }
  return true;
}

unsigned char Alphabet::CodeOf(char32_t c) const {
  if (c >= 'a' && c <= 'z') return latin_ ? static_cast<unsigned char>(c) : 0;
  if (c < kTwoByteEnd) return two_byte_[c];
  auto known = others_.find(c);
  return known == others_.end() ? 0 : known->second;
}

const Alphabet& LatinAlphabet() {
  static const Alphabet* const latin = new Alphabet();
  return *latin;
}
