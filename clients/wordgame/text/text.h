#ifndef WORDGAME_TEXT_TEXT_H_
#define WORDGAME_TEXT_TEXT_H_

// Small helpers on words and lines of text that every part of wordgame
// shares.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// The longest word that makes a fair game; a longer line of letters is
/// skipped. Long enough for any word of a dictionary, short enough that a
/// whole-word guess echoed back always fits on a line or two.
constexpr std::size_t kMaxWordLetters = 64;

/// The most bytes of a letter in UTF-8.
constexpr std::size_t kMaxLetterBytes = 4;

/// The line with the whitespace around it (a carriage return included)
/// removed and ASCII letters lowered.
std::string Tidy(const std::string& line);

/// True when s consists of letters a-z only (the empty string included).
bool AllLetters(const std::string& s);

/// True when s is a word that can be played: 1 to kMaxWordLetters letters
/// (a-z, or of any alphabet in UTF-8), in lower case.
bool IsWord(const std::string& s);

/// "1 letter", "2 letters"; "1 miss", "2 misses".
std::string CountOf(std::uint64_t n, const std::string& noun);

/// The low `digits` hex digits of `value`, lower case, zeros in front.
std::string Hex(std::uint64_t value, int digits);

/// Reads the whole of `field`, digits in `base` only, into *value: false when
/// it is anything else or more than `max`.
bool ParseNumber(const std::string& field, std::uint64_t max,
                 std::uint64_t* value, int base = 10);

/// The parts with one blank between each two: {"x", "dog"} gives "x dog".
std::string Joined(const std::vector<std::string>& parts);

/// A shown word (one character a letter, "_" for one not found) with a
/// blank between each two letters, as the boards show it: "c a _".
std::string Spaced(const std::string& shown);

#endif  // WORDGAME_TEXT_TEXT_H_
