#ifndef WORDGAME_TEXT_UTF8_H_
#define WORDGAME_TEXT_UTF8_H_

// Letters of any alphabet in UTF-8: reading and writing characters, and
// telling letters, lower and upper case, as Unicode has them whatever the
// player's locale.

#include <cstddef>
#include <string>
#include <string_view>

/// Reads the character at s[*at] into *c and moves *at past it. False, and
/// *at one byte on, for a byte that starts no valid UTF-8 character (an
/// overlong form, a surrogate, a sequence cut short).
bool NextChar(std::string_view s, std::size_t* at, char32_t* c);

/// The character `c` in UTF-8.
std::string Utf8(char32_t c);

/// The characters of `s` as columns on a terminal: one for each byte that
/// is not the second or a later byte of a UTF-8 character.
std::size_t Columns(std::string_view s);

/// True when `c` is a letter of some alphabet (a to z and A to Z too).
bool IsLetterChar(char32_t c);

/// `c` in lower case, and in upper case (itself when it has none).
char32_t LowerChar(char32_t c);
char32_t UpperChar(char32_t c);

/// `text` in lower case (UTF-8) into *lowered, when every character of it
/// is a letter (IsLetterChar); else false.
bool LowerLetters(std::string_view text, std::string* lowered);

/// Loads the C library's Unicode tables, which the calls above otherwise do
/// at their first character beyond ASCII. Loading them takes about 2 KiB of
/// stack: a program on a small stack calls this first, where its stack is
/// still shallow.
void LoadUnicodeTables();

#endif  // WORDGAME_TEXT_UTF8_H_
