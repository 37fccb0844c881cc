#ifndef WORDGAME_SCREEN_SCREEN_GRID_H_
#define WORDGAME_SCREEN_SCREEN_GRID_H_

// The full screen as a model: a grid of characters and their paints, and
// the painted lines of text that go on it. The terminal front end copies the
// grid to the terminal; tests read it without one.

#include <string>
#include <vector>

/// How a cell is drawn. The terminal front end shows kGood and kBad in
/// colour where colour is allowed; the shapes carry the meaning without it
/// (found letters in capitals, missed ones as "-").
enum class Paint : unsigned char { kPlain, kBold, kGood, kBad, kBar };

/// A piece of a line in one paint, and a line made of such pieces.
struct Span {
  std::string text;
  Paint paint;
};
using Line = std::vector<Span>;

/// `text` as a line in one paint.
Line Plain(const std::string& text, Paint paint = Paint::kPlain);

/// The first of `candidates` that fits in `width`, else the last one cut.
std::string Fit(const std::vector<std::string>& candidates, int width);

/// `text` broken at blanks into lines of at most `width`; a longer word is
/// cut into pieces.
std::vector<std::string> Wrap(const std::string& text, int width);

/// `text` wrapped (Wrap) in at most `max_lines`: the longest run of whole
/// sentences from its start that fits (a sentence ends at ".", "!" or "?"
/// before a blank); cut after `max_lines` only when not even the first
/// sentence fits. None for `max_lines` 0 or less.
std::vector<std::string> WrapSentences(const std::string& text, int width,
                                       int max_lines);

class Screen {
 public:
  /// A blank grid of `rows` x `cols` (each at least 1).
  Screen(int rows, int cols);
  int rows() const { return rows_; }
  int cols() const { return cols_; }
  /// Writes `text` (one line of printable characters in UTF-8, one cell
  /// each; a byte of no valid character shows as "?") from (row, col) on;
  /// what falls outside the grid is dropped.
  void Put(int row, int col, const std::string& text,
           Paint paint = Paint::kPlain);
  /// Row r: cols() characters, blanks where nothing was written.
  std::string Row(int r) const;
  /// The character of cell (r, c), in UTF-8.
  const std::string& Cell(int r, int c) const { return cells_[r][c]; }
  Paint PaintAt(int r, int c) const { return paint_[r][c]; }
  /// Writes the spans of `line` one after the other from (row, 0) on.
  void PutLine(int row, const Line& line);
  /// Copies `part` (cells, paints and cursor) with its top left corner at
  /// (row, col); what falls outside the grid is dropped.
  void Paste(int row, int col, const Screen& part);
  /// Every row, each followed by a line feed.
  std::string Text() const;
  /// Where the cursor shows (the word being typed); row -1 hides it.
  void SetCursor(int row, int col) {
    cursor_row_ = row;
    cursor_col_ = col;
  }
  int cursor_row() const { return cursor_row_; }
  int cursor_col() const { return cursor_col_; }

 private:
  int rows_, cols_;
  std::vector<std::vector<std::string>> cells_;
  std::vector<std::vector<Paint>> paint_;
  int cursor_row_ = -1, cursor_col_ = 0;
};

#endif  // WORDGAME_SCREEN_SCREEN_GRID_H_
