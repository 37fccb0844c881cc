#ifndef WORDGAME_WORDS_ALPHABET_H_
#define WORDGAME_WORDS_ALPHABET_H_

// The letters of a word list. The engine compares bytes, one a letter, so
// each letter of a list has one byte, its code: a to z their own, any other
// (é, ß, я, ...) a byte from 0x7B up, given in the order of the letters'
// code points, so that words of codes sort as their UTF-8 does. Inside the
// game a word is a string of codes; what the player sees and types is UTF-8.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class Alphabet {
 public:
  /// Letters other than a to z a list may have: the bytes from 0x7B up but
  /// 0x85 and 0xA0, which some character sets take for blanks.
  static constexpr std::size_t kMaxOthers = 131;

  /// The letters a to z, with their own bytes; with `latin` false, not yet
  /// letters of the list, until Add meets one.
  explicit Alphabet(bool latin = true);

  /// While a list is read: the code of the lower-case letter `c`, given the
  /// next free byte when it is new; 0 when no byte is left. A letter a to z
  /// marks the list as one that has them.
  unsigned char Add(char32_t c);
  /// Adds the letters of `lowered` (lower-case letters in UTF-8) and puts
  /// their codes in *codes; false when a letter finds no byte.
  bool AddWord(std::string_view lowered, std::string* codes);
  /// Once every letter is in: the letters beyond a to z get their codes in
  /// the order of their code points. Returns, per byte, its new code, for
  /// the words of the codes Add gave.
  std::string Sort();
  /// From now on a guess of a letter stands for every letter that has the
  /// same one without its accent (e for é, è, ê and ë), and the alphabet
  /// line shows these once.
  void FoldAccents();

  /// True when the list's letters are a to z only.
  bool ascii() const { return others_.empty(); }
  bool folds() const { return folds_; }
  /// The codes of the letters that the alphabet line shows, in its order:
  /// a to z (when the list has them), then the others by code point; with
  /// folding, each letter that a guess stands for once.
  std::vector<unsigned char> Line() const;
  /// The letter of `code` in UTF-8, or in capitals; a byte that is no code
  /// stands for itself ("_").
  std::string Letter(unsigned char code) const;
  std::string Capital(unsigned char code) const;
  /// Each byte of `codes` as Letter.
  std::string Decode(std::string_view codes) const;
  /// `text` (UTF-8, of any case) in codes; false when a character of it is
  /// not a letter of the list.
  bool Encode(std::string_view text, std::string* codes) const;
  /// The code that a guess of the letter `code` stands for: itself, or with
  /// folding that of the letter without its accent.
  unsigned char Key(unsigned char code) const {
    return static_cast<unsigned char>(keys_[code]);
  }

 private:
  unsigned char CodeOf(char32_t c) const;

  std::vector<char32_t> letters_;  // per byte, its letter, or 0
  std::string keys_;               // per byte, Key
  std::unordered_map<char32_t, unsigned char> others_;  // beyond a to z
  // The codes of the letters of two bytes in UTF-8 (Latin, Greek,
  // Cyrillic, ...), by code point: most letters of a list, looked up at
  // every letter while it is read.
  std::vector<unsigned char> two_byte_;
  bool latin_ = true;  // a to z are letters of the list
  bool folds_ = false;
};

/// The letters a to z alone, as a list of them has them.
const Alphabet& LatinAlphabet();

#endif  // WORDGAME_WORDS_ALPHABET_H_
