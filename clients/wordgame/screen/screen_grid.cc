#include "screen/screen_grid.h"

#include <algorithm>

#include "text/utf8.h"

Line Plain(const std::string& text, Paint paint) { return {{text, paint}}; }

std::string Fit(const std::vector<std::string>& candidates, int width) {
  for (const std::string& c : candidates) {
    if (static_cast<int>(c.size()) <= width) return c;
  }
  return candidates.back().substr(0, static_cast<std::size_t>(width));
}

std::vector<std::string> Wrap(const std::string& text, int width) {
  const std::size_t w = static_cast<std::size_t>(width);
  std::vector<std::string> lines;
  std::string line;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = std::min(text.find(' ', at), text.size());
    std::string word = text.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    if (!line.empty() && line.size() + 1 + word.size() <= w) {
      line += " " + word;
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    for (; word.size() > w; word.erase(0, w))
      lines.push_back(word.substr(0, w));
    line = word;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> WrapSentences(const std::string& text, int width,
                                       int max_lines) {
  if (max_lines <= 0) return {};
  const std::size_t most = static_cast<std::size_t>(max_lines);
  std::vector<std::string> lines = Wrap(text, width);
  // Shorter and shorter runs of sentences, from the whole text down.
  for (std::size_t end = text.size(); lines.size() > most;) {
    end = end == 0 ? std::string::npos : text.find_last_of(".!?", end - 1);
    if (end == std::string::npos) {
      lines = Wrap(text, width);
      lines.resize(most);
      break;
    }
    if (end + 1 < text.size() && text[end + 1] == ' ') {
      lines = Wrap(text.substr(0, end + 1), width);
    }
  }
  return lines;
}

Screen::Screen(int rows, int cols)
    : rows_(std::max(rows, 1)),
      cols_(std::max(cols, 1)),
      cells_(rows_, std::vector<std::string>(cols_, " ")),
      paint_(rows_, std::vector<Paint>(cols_, Paint::kPlain)) {}

void Screen::Put(int row, int col, const std::string& text, Paint paint) {
  if (row < 0 || row >= rows_) return;
  int c = col;
  for (std::size_t at = 0; at < text.size() && c < cols_; ++c) {
    const std::size_t from = at;
    char32_t letter;
    const bool valid = NextChar(text, &at, &letter);
    if (c < 0) continue;
    cells_[row][c] = valid ? text.substr(from, at - from) : "?";
    paint_[row][c] = paint;
  }
}

void Screen::Paste(int row, int col, const Screen& part) {
  for (int r = 0; r < part.rows(); ++r) {
    for (int c = 0; c < part.cols(); ++c) {
      Put(row + r, col + c, part.Cell(r, c), part.PaintAt(r, c));
    }
  }
  if (part.cursor_row() >= 0) {
    SetCursor(row + part.cursor_row(), col + part.cursor_col());
  }
}

std::string Screen::Row(int r) const {
  std::string row;
  for (const std::string& cell : cells_[r]) row += cell;
  return row;
}

std::string Screen::Text() const {
  std::string all;
  for (int r = 0; r < rows_; ++r) all += Row(r) + "\n";
  return all;
}

void Screen::PutLine(int row, const Line& line) {
  int col = 0;
  for (const Span& span : line) {
    Put(row, col, span.text, span.paint);
    col += static_cast<int>(Columns(span.text));
  }
}
