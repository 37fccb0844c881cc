#include "line/wrap.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace {

winsize TerminalSize(std::FILE* out) {
  winsize size{};
  const int fd = fileno(out);
  if (fd < 0 || !isatty(fd) || ioctl(fd, TIOCGWINSZ, &size) != 0) {
    return winsize{};
  }
  return size;
}

// The bytes of the word that starts at `at`, up to a blank or a line feed,
// and the columns they take.
std::size_t WordEnd(const std::string& text, std::size_t at, int* columns) {
  *columns = 0;
  while (at < text.size() && text[at] != ' ' && text[at] != '\n') {
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    if (byte == 0x1B && at + 1 < text.size() && text[at + 1] == '[') {
      at += 2;  // up to the sequence's last byte, from @ to ~
      while (at < text.size() && (text[at] < '@' || text[at] > '~')) ++at;
    } else if ((byte & 0xC0) != 0x80) {
      ++*columns;
    }
    ++at;
  }
  return at;
}

}  // namespace

int TerminalRows(std::FILE* out) { return TerminalSize(out).ws_row; }

int TerminalCols(std::FILE* out) { return TerminalSize(out).ws_col; }

// Word by word: the blanks before a word are kept while the word still fits
// after them on the line, else the line ends there.
std::string Wrapped(const std::string& text, int width, int* column) {
  if (width <= 0) return text;
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == '\n') {
      out += '\n';
      *column = 0;
      ++at;
      continue;
    }
    const std::size_t word = text.find_first_not_of(' ', at);
    const int blanks =
        static_cast<int>((word == std::string::npos ? text.size() : word) - at);
    int columns = 0;
    const std::size_t end =
        word == std::string::npos ? text.size() : WordEnd(text, word, &columns);
    if (*column > 0 && *column + blanks + columns > width) {
      out += '\n';
      *column = 0;
    } else {
      out.append(static_cast<std::size_t>(blanks), ' ');
      *column += blanks;
    }
    if (word == std::string::npos) break;
    out.append(text, word, end - word);
    *column += columns;
    at = end;
  }
  return out;
}
