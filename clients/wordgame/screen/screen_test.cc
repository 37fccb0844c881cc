// The full screen's layout on the screen model: what shows at which size.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "look/rules.h"
#include "screen/screen_help.h"
#include "screen/screen_layout.h"
#include "words/word_list.h"

namespace {

// A round in play: "banana" with "a" found and "x" missed, its clue and the
// statistics; the answer is as wide as the narrowest board.
Board SomeBoard() {
  Board board;
  board.shown = "_a_a_a";
  for (char c = 'a'; c <= 'z'; ++c) board.letters.push_back({{c}, {}});
  board.letters['a' - 'a'] = {"A", LetterState::kFound};
  board.letters['x' - 'a'] = {"-", LetterState::kMissed};
  board.missed_letters = {"x"};
  board.misses = 1;
  board.scores = {PlayerScore{"", Score{2, 1, 1}}};
  board.message = {Tone::kBad, "No \"x\" in this word."};
  board.clue = "fruit";
  board.stats = {"Rounds played: 3, won 2 (66%), lost 1.",
                 "Winning streak: 1, best 2."};
  return board;
}

Screen Drawn(const Board& board, int rows, int cols) {
  Screen screen(rows, cols);
  Draw(board, &screen);
  return screen;
}

bool Shows(const Screen& screen, const std::string& text) {
  return screen.Text().find(text) != std::string::npos;
}

// The row and column where `text` starts, or {-1, -1}.
std::pair<int, int> Find(const Screen& screen, const std::string& text) {
  for (int r = 0; r < screen.rows(); ++r) {
    std::size_t c = screen.Row(r).find(text);
    if (c != std::string::npos) return {r, static_cast<int>(c)};
  }
  return {-1, -1};
}

TEST(Layout, EverythingShowsOnALargeScreen) {
  Screen screen = Drawn(SomeBoard(), 24, 80);
  for (const char* part :
       {"+---+", "_ a _ a _ a", "A b c", "w - y z", "misses 1 of 7: x",
        "No \"x\" in this word.", "This session: Won 2  Lost 1  Streak 1",
        "wordgame", "clue: fruit", "Rounds played: 3", "best 2"}) {
    EXPECT_TRUE(Shows(screen, part)) << part << "\n" << screen.Text();
  }
  auto [row, col] = Find(screen, "A b c");
  EXPECT_EQ(screen.PaintAt(row, col), Paint::kGood);
  auto [miss_row, miss_col] = Find(screen, "w - y");
  EXPECT_EQ(screen.PaintAt(miss_row, miss_col + 2), Paint::kBad);
  EXPECT_NE(screen.Row(23).find("Esc"), std::string::npos);
  EXPECT_EQ(screen.cursor_row(), -1);
  EXPECT_FALSE(Shows(screen, "wrong:"));  // There are no wrong words.
}

// Every size from the smallest up keeps the word, the answer, the count of
// misses and the key line; the drawing, once it fits, fits on taller screens
// too.
// A larger window shows the board of the classic size in its middle, cursor
// and paints included; a smaller one is filled from its top left corner.
TEST(Layout, TheBoardIsCentredWhenThereIsRoom) {
  Board board = SomeBoard();
  board.mode = KeyMode::kTypingWord;
  board.typed = "ban";
  const Screen classic = Drawn(board, kBoardRows, kBoardCols);
  for (auto [rows, cols, top, left] :
       {std::tuple{40, 120, 8, 20}, {25, 80, 0, 0}, {24, 83, 0, 1}}) {
    Screen large = Drawn(board, rows, cols);
    for (int r = 0; r < rows; ++r) {
      const int inner = r - top;
      const std::string expected =
          inner >= 0 && inner < kBoardRows
              ? std::string(left, ' ') + classic.Row(inner) +
                    std::string(cols - left - kBoardCols, ' ')
              : std::string(cols, ' ');
      EXPECT_EQ(large.Row(r), expected) << large.Text();
    }
    EXPECT_EQ(large.PaintAt(top + kBoardRows - 1, left), Paint::kBar);
    EXPECT_EQ(large.cursor_row(), classic.cursor_row() + top);
    EXPECT_EQ(large.cursor_col(), classic.cursor_col() + left);
  }
}

TEST(Layout, PartsGiveWayInTurnButTheEssentialsStay) {
  for (int cols = kMinCols; cols <= 80; ++cols) {
    bool drawn_above = false;
    for (int rows = kMinRows; rows <= 24; ++rows) {
      Screen screen = Drawn(SomeBoard(), rows, cols);
      std::string where = std::to_string(cols) + "x" + std::to_string(rows) +
                          "\n" + screen.Text();
      EXPECT_TRUE(Shows(screen, "_a_a_a") || Shows(screen, "_ a _ a _ a"))
          << where;
      EXPECT_TRUE(Shows(screen, "No \"x\" in this word.")) << where;
      EXPECT_TRUE(Shows(screen, "misses 1 of 7")) << where;
      EXPECT_NE(screen.Row(rows - 1).find("Esc"), std::string::npos) << where;
      bool drawn = Shows(screen, "+---+");
      EXPECT_TRUE(drawn || !drawn_above) << where;
      drawn_above = drawn;
    }
  }
  EXPECT_TRUE(Shows(Drawn(SomeBoard(), 24, 80), "+---+"));
  EXPECT_FALSE(Shows(Drawn(SomeBoard(), 8, 30), "+---+"));
}

// The parts of a plan, for comparing two.
auto Parts(const Plan& p) {
  return std::make_tuple(p.panel_spacers, p.key_spacer, p.drawing,
                         p.header_spacer, p.message_spacer, p.alphabet, p.clue,
                         p.header, p.misses, p.message_lines, p.note_lines,
                         p.wrong_lines, p.stats_lines);
}

// The statistics' later lines go first; a part given up may free more room
// than was needed, and then parts given up before it come back.
TEST(Layout, FitPlanGivesPartsUpInTurnAndTakesBackWhatFitsAgain) {
  const Board board = SomeBoard();
  EXPECT_EQ(Parts(FitPlan(board, 16, kBoardCols)), Parts(Plan()));
  Plan first;
  first.stats_lines = 1;
  EXPECT_EQ(Parts(FitPlan(board, 15, kBoardCols)), Parts(first));
  // Without the drawing the spacers, given up before it, fit again.
  Plan no_drawing;
  no_drawing.drawing = false;
  no_drawing.stats_lines = 0;
  EXPECT_EQ(Parts(FitPlan(board, 12, kBoardCols)), Parts(no_drawing));
  const Plan least = FitPlan(board, kMinRows, kBoardCols);
  EXPECT_FALSE(least.drawing || least.panel_spacers || least.key_spacer ||
               least.header_spacer || least.message_spacer || least.clue);
  EXPECT_TRUE(least.header && least.alphabet && least.misses);
  EXPECT_EQ(least.stats_lines, 0);
}

TEST(Layout, BelowTheSmallestSizeOneLineAsksForMoreAndOneNamesEsc) {
  for (auto [rows, cols] :
       {std::pair{kMinRows - 1, 80}, {24, kMinCols - 1}, {1, 1}}) {
    Screen screen = Drawn(SomeBoard(), rows, cols);
    EXPECT_NE(screen.Row(0), std::string(cols, ' '));
    EXPECT_EQ(screen.Text().find('_'), std::string::npos) << screen.Text();
    for (int r = 2; r < rows; ++r)
      EXPECT_EQ(screen.Row(r), std::string(cols, ' '));
  }
  // The size needed is named, down to narrow windows.
  EXPECT_TRUE(
      Shows(Drawn(SomeBoard(), 24, kMinCols - 1), "Need a 20x6 window"));
  EXPECT_TRUE(Shows(Drawn(SomeBoard(), 4, 15), "Too small: 20x6"));
  // The way out is named, as far as it fits.
  EXPECT_TRUE(Shows(Drawn(SomeBoard(), 4, 15), "Esc quits"));
}

// A word is spaced out ("c _ t") from the width its spaced form just fills.
TEST(Layout, AWordIsSpacedOutWhereItJustFits) {
  Board board = SomeBoard();
  board.shown = "c_t";
  auto text = [&board](int width) {
    const std::vector<Line> lines = WordLines(board, width);
    std::string all;
    for (const Span& span : lines.at(0)) all += span.text;
    return all;
  };
  EXPECT_EQ(text(5), "c _ t");
  EXPECT_EQ(text(4), "c_t");
}

TEST(Layout, ALongWordStaysWholeOnTheSmallestScreen) {
  Board board = SomeBoard();
  board.shown = std::string(40, '_') + std::string(24, 'q');
  Screen screen = Drawn(board, kMinRows, kMinCols);
  std::string all;
  for (int r = 0; r < screen.rows(); ++r) all += screen.Row(r);
  EXPECT_NE(all.find(std::string(24, 'q')), std::string::npos) << screen.Text();
  EXPECT_EQ(std::count(all.begin(), all.end(), '_'), 40) << screen.Text();
  EXPECT_TRUE(Shows(screen, "misses 1 of 7")) << screen.Text();
}

// In play the word and the misses stay in place whether the answer takes
// one line or two (the opening); the answer shows to its end ("times.",
// the count) at every size, in brief where it must.
TEST(Layout, TheAnswerShowsWholeAndMovesNothing) {
  Board one = SomeBoard();
  one.stats.clear();
  one.message = {Tone::kGood, "Yes, \"a\" is in the word 3 times.",
                 "Yes, \"a\" 3 times."};
  Board two = one;
  two.message.text =
      "Words: shipped list, 2360 words. A new word of 6 letters.";
  for (int cols = kMinCols; cols <= 80; ++cols) {
    for (int rows = kMinRows; rows <= 24; ++rows) {
      const Screen a = Drawn(one, rows, cols), b = Drawn(two, rows, cols);
      EXPECT_TRUE(Shows(a, "times.")) << a.Text();
      EXPECT_EQ(Find(a, "misses"), Find(b, "misses")) << a.Text() << b.Text();
    }
  }
}

TEST(Layout, TheMissedLettersShowWholeOrNotAtAll) {
  Board board = SomeBoard();
  board.hints = 1;
  EXPECT_TRUE(Shows(Drawn(board, 24, 80), "misses 1 of 7 (1 hint): x"));
  board.hints = 0;
  board.missed_letters = {"x", "q", "z", "w"};
  board.misses = 4;
  for (int cols = kMinCols; cols <= 30; ++cols) {
    Screen screen = Drawn(board, 8, cols);
    auto [row, col] = Find(screen, "misses 4 of 7");
    ASSERT_GE(row, 0) << screen.Text();
    std::string rest = screen.Row(row).substr(col + 13);
    EXPECT_TRUE(rest.find_first_not_of(' ') == std::string::npos ||
                rest.find(": x q z w") == 0)
        << screen.Text();
  }
}

// Wrong words that do not fit are counted; together with those shown they
// are all of them.
TEST(Layout, ManyWrongWordsAreShortenedWithACount) {
  Board board = SomeBoard();
  for (char c = 'a'; c < 'a' + 24; ++c) {
    board.missed_words.push_back(std::string(6, c));
  }
  for (auto [rows, cols] : {std::pair{24, 80}, {8, 30}, {12, 40}}) {
    Screen screen = Drawn(board, rows, cols);
    int shown = 0;
    for (const std::string& w : board.missed_words) shown += Shows(screen, w);
    auto [row, col] = Find(screen, " more");
    ASSERT_GE(row, 0) << screen.Text();
    std::size_t plus = screen.Row(row).rfind('+', col);
    int more = std::stoi(screen.Row(row).substr(plus + 1));
    EXPECT_EQ(shown + more, 24) << screen.Text();
    EXPECT_GT(shown, 0) << screen.Text();
  }
  board.missed_words.resize(5);  // No line for them: the rest stays.
  Screen small = Drawn(board, 6, 20);
  EXPECT_TRUE(Shows(small, "clue: fruit") && !Shows(small, "wrong:"))
      << small.Text();
  board.missed_words.resize(2);  // Both fit: no count.
  Screen two = Drawn(board, 24, 80);
  EXPECT_TRUE(Shows(two, "wrong: aaaaaa bbbbbb") && !Shows(two, "more"))
      << two.Text();
  // A word that does not fit goes on the next line, where there is one.
  const std::vector<std::string> three = {"aaaaaa", "bbbbbb", "cccccc"};
  ASSERT_EQ(WrongWordLines(three, 20, 2).size(), 2u);
  EXPECT_EQ(WrongWordLines(three, 20, 2)[1].back().text, "cccccc");
  EXPECT_EQ(WrongWordLines(three, 20, 1).size(), 1u);
}

TEST(Layout, TheWordBeingTypedKeepsItsEndAndTheCursorInSight) {
  Board board = SomeBoard();
  board.mode = KeyMode::kTypingWord;
  board.typed = "ban";
  Screen screen = Drawn(board, 24, 80);
  auto [row, col] = Find(screen, "ban");
  ASSERT_GE(row, 0) << screen.Text();
  EXPECT_EQ(screen.cursor_row(), row);
  EXPECT_EQ(screen.cursor_col(), col + 3);
  board.typed = std::string(60, 'b') + "nana";
  Screen narrow = Drawn(board, kMinRows, kMinCols);
  EXPECT_TRUE(Shows(narrow, "bnana")) << narrow.Text();
  EXPECT_LT(narrow.cursor_col(), kMinCols);
  EXPECT_NE(narrow.Row(narrow.cursor_row()).find("bnana"), std::string::npos);
}

// A list's letters beyond a to z take one cell each, in the word, on the
// alphabet line and on the word line with its cursor; more than 26 letters
// take two spaced lines before one unspaced.
TEST(Layout, LettersOfAnyAlphabetTakeOneCellEach) {
  const WordList list = ParseWordList("\xC3\xA9t\xC3\xA9\n");  // été
  Board board = SomeBoard();
  board.alphabet = &list.alphabet;
  board.shown = "\x7b_\x7b";
  board.letters.push_back({"\xC3\x89", LetterState::kFound});
  board.mode = KeyMode::kTypingWord;
  board.typed = "\xC3\xA9t";
  Screen screen = Drawn(board, 24, 80);
  EXPECT_TRUE(Shows(screen, "\xC3\xA9 _ \xC3\xA9")) << screen.Text();
  EXPECT_TRUE(Shows(screen, "y z \xC3\x89")) << screen.Text();
  auto [row, col] = Find(screen, "word: \xC3\xA9t");
  ASSERT_GE(row, 0) << screen.Text();
  EXPECT_EQ(screen.cursor_col(), col + 8);
  EXPECT_EQ(screen.Cell(row, col + 6), "\xC3\xA9");
  std::vector<BoardLetter> many(35, {"\xC3\x9F", LetterState::kUntried});
  EXPECT_EQ(AlphabetLines(many, 68).size(), 2u);
  EXPECT_EQ(AlphabetLines(many, 68)[0].size(), 2 * 18 - 1u);  // spaced
  EXPECT_EQ(AlphabetLines(many, 35).size(), 2u);  // spaced: just fits
  EXPECT_EQ(AlphabetLines(many, 34).size(), 2u);
  EXPECT_EQ(AlphabetLines(many, 34)[0].size(), 18u);
}

// A clue shows only where the whole answer does too.
TEST(Layout, TheClueGivesWayBeforeTheAnswer) {
  Board board = SomeBoard();
  board.message.text = "A new word of 6 letters, a clue.";
  for (int cols = kMinCols; cols <= 40; ++cols) {
    for (int rows = kMinRows; rows <= 12; ++rows) {
      Screen screen = Drawn(board, rows, cols);
      EXPECT_TRUE(!Shows(screen, "clue: fruit") || Shows(screen, "clue."))
          << screen.Text();
    }
  }
}

// The word being set shows as stars on every size, with no round behind.
TEST(Layout, AWordBeingSetShowsItsStarsAndKeys) {
  Board board = SomeBoard();
  board.mode = KeyMode::kSettingWord;
  board.typed = "******";
  board.message = {Tone::kPlain, "Ann, type a word for Bob to guess."};
  for (auto [rows, cols] : {std::pair{kMinRows, kMinCols}, {24, 80}}) {
    Screen screen = Drawn(board, rows, cols);
    auto [row, col] = Find(screen, "******");
    ASSERT_GE(row, 0) << screen.Text();
    EXPECT_EQ(screen.cursor_row(), row);
    EXPECT_EQ(screen.cursor_col(), col + 6);
    EXPECT_TRUE(Shows(screen, "Ann, type")) << screen.Text();
    EXPECT_NE(screen.Row(rows - 1).find("Enter"), std::string::npos);
    EXPECT_FALSE(Shows(screen, "_a_a_a") || Shows(screen, "misses"))
        << screen.Text();
  }
}

// A lost round shows the whole word, the letters not found marked below
// and painted as misses, spaced out or in pieces alike.
TEST(Layout, ALostRoundShowsTheWholeWordWithTheLettersNotFoundMarked) {
  Board board = SomeBoard();
  board.word = "banana";
  Screen screen = Drawn(board, 24, 80);
  auto [row, col] = Find(screen, "b a n a n a");
  ASSERT_GE(row, 0) << screen.Text();
  EXPECT_EQ(screen.Row(row + 1).substr(col, 11), "^   ^   ^  ")
      << screen.Text();
  EXPECT_EQ(screen.PaintAt(row, col), Paint::kBad);
  EXPECT_EQ(screen.PaintAt(row, col + 2), Paint::kBold);
  board.shown = std::string(18, '_') + "aa__";
  board.word = std::string(18, 'b') + "aacc";
  Screen narrow = Drawn(board, kMinRows + 2, kMinCols);
  auto [piece, at] = Find(narrow, "bbaa");
  ASSERT_GE(piece, 0) << narrow.Text();
  EXPECT_EQ(narrow.Row(piece + 1).substr(at, 4), "^^  ") << narrow.Text();
  EXPECT_EQ(narrow.Row(piece + 3).substr(0, 2), "^^") << narrow.Text();
}

// One player's score is labelled as this session's (the statistics count
// all of them) down to the narrow form; two players' scores are by name.
TEST(Layout, OnePlayersScoreSaysItIsThisSessions) {
  Board board = SomeBoard();
  EXPECT_EQ(Drawn(board, 8, kMinCols).Row(0).substr(0, 17),
            "Session W2 L1 S1 ");
  board.scores.push_back(PlayerScore{"Bo", Score{1, 0, 1}});
  board.scores[0].name = "Al";
  EXPECT_FALSE(Shows(Drawn(board, 24, 80), "ession"))
      << Drawn(board, 24, 80).Text();
  // Long names are cut before a score is.
  board.scores[0].name = "A long name of 20 ch";
  board.scores[1].name = "Another long name 20";
  const std::string top = Drawn(board, 8, 40).Row(0);
  EXPECT_NE(top.find("W2 L1 S1"), std::string::npos) << top;
  EXPECT_NE(top.find("W1 L0 S1"), std::string::npos) << top;
}

// The daily word's round is named in place of the score, which means
// nothing for its one round, down to the narrow form.
TEST(Layout, TheDailyWordsRoundIsNamedInTheHeader) {
  Board board = SomeBoard();
  board.daily_date = "2026-12-09";
  const std::string top = Drawn(board, 24, 80).Row(0);
  EXPECT_EQ(top.substr(top.size() - 21), "Daily word 2026-12-09");
  EXPECT_EQ(top.find("W2"), std::string::npos);
  EXPECT_EQ(Drawn(board, 8, kMinCols).Row(0), "Daily 2026-12-09    ");
}

// An answer of several sentences (the opening) that does not fit loses its
// last sentences whole; it is cut only when not even the first one fits.
TEST(Layout, ALongAnswerIsShortenedBySentences) {
  Board board = SomeBoard();
  board.message.text =
      "Words: ./dict.txt, 2 words. 7 lines skipped: lines 3, 5, 8, 12, 14 "
      "and 2 more. A new word of 6 letters.";
  const Screen small = Drawn(board, 8, 30);
  const int row = Find(small, "Words:").first;
  ASSERT_GE(row, 0) << small.Text();
  EXPECT_EQ(small.Row(row), "Words: ./dict.txt, 2 words.   ");
  EXPECT_FALSE(Shows(small, "skipped") || Shows(small, "A new"))
      << small.Text();
  EXPECT_EQ(WrapSentences("abcdefg hij. k.", 5, 1),
            std::vector<std::string>{"abcde"});
}

// After a round a hint stands beside the result, or below it where it does
// not fit, and gives way before the result.
TEST(Layout, AHintKeepsTheResultInSight) {
  Board board = SomeBoard();
  board.message = {Tone::kGood, "You won! The word was \"banana\"."};
  board.hint = "Enter or y plays on.";
  Screen wide = Drawn(board, 24, 80);
  auto [row, col] = Find(wide, "You won!");
  ASSERT_GE(row, 0) << wide.Text();
  EXPECT_NE(wide.Row(row).find("\".  Enter or y plays on."), std::string::npos)
      << wide.Text();
  EXPECT_EQ(wide.PaintAt(row, col), Paint::kGood);
  EXPECT_EQ(wide.PaintAt(row, wide.Row(row).find("Enter")), Paint::kPlain);
  Screen narrow = Drawn(board, 12, 34);
  EXPECT_TRUE(Shows(narrow, "Enter or y plays on.")) << narrow.Text();
  EXPECT_TRUE(Shows(narrow, "You won!")) << narrow.Text();
  EXPECT_TRUE(Shows(Drawn(board, kMinRows, kMinCols), "You won!"));
}

// A note after a round shows below the answer, before the statistics, and
// on a small screen in its first line where they give way.
TEST(Layout, ANoteAfterARoundComesBeforeTheStatistics) {
  Board board = SomeBoard();
  board.note = "Note: statistics not saved: cannot create /x/y: Not a folder";
  const Screen large = Drawn(board, 24, 80);
  auto [row, col] = Find(large, board.note);
  ASSERT_EQ(row, Find(large, "No \"x\"").first + 1) << large.Text();
  EXPECT_EQ(large.PaintAt(row, col), Paint::kBad);
  EXPECT_EQ(Find(large, "Rounds played").first, row + 1);
  EXPECT_TRUE(Shows(Drawn(board, 8, 30), "Note: statistics not saved:"));
}

// The help lists every key; on a small screen it takes pages, which hold
// every line of it between them, each once.
TEST(Layout, HelpShowsEveryKeyInPages) {
  Board board = SomeBoard();
  board.mode = KeyMode::kHelp;
  Screen screen = Drawn(board, 24, 80);
  for (const char* key : {"a-z:", "Enter:", "Backspace", "!:", "?:", "PgUp",
                          "Ctrl-L", "Ctrl-D", "Ctrl-Z", "After a round"}) {
    EXPECT_TRUE(Shows(screen, key)) << key << "\n" << screen.Text();
  }
  EXPECT_FALSE(Shows(screen, "_ a _ a _ a"));
  EXPECT_EQ(HelpPages(24, 80), 1);  // One page: none to turn back to.
  EXPECT_EQ(screen.Row(23).rfind("any key: back to the game", 0), 0u);
  const int pages = HelpPages(12, 40);
  ASSERT_GT(pages, 2);
  std::string all;
  for (board.help_page = 0; board.help_page <= pages; ++board.help_page) {
    Screen page = Drawn(board, 12, 40);
    EXPECT_NE(
        page.Row(0).find(std::to_string(std::min(board.help_page + 1, pages)) +
                         " of " + std::to_string(pages)),
        std::string::npos)
        << page.Text();
    if (board.help_page < pages) {
      for (int r = 1; r < 11; ++r) all += page.Row(r);
    }
  }
  board.help_page = 0;  // Narrow: the title in brief.
  EXPECT_EQ(
      Drawn(board, 8, 20)
          .Row(0)
          .rfind("How to play 1/" + std::to_string(HelpPages(8, 20)) + " ", 0),
      0u);
  for (const std::string& paragraph : ScreenRules()) {
    for (std::size_t at = 0; at < paragraph.size(); at += 10) {
      std::string piece = paragraph.substr(at, 10);
      if (piece.find(' ') != std::string::npos) continue;  // may wrap there
      EXPECT_NE(all.find(piece), std::string::npos) << piece << "\n" << all;
    }
  }
}

}  // namespace
