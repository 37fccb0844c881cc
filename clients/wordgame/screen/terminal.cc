#include "screen/terminal.h"

// The wide-character functions: letters of any alphabet in and out.
#define NCURSES_WIDECHAR 1
#include <curses.h>
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <signal.h>
#include <term.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/ending_signals.h"
#include "progutil.h"
#include "screen/screen_layout.h"
#include "text/utf8.h"

namespace {

// How long ncurses waits for each byte after Esc before it takes Esc as a
// key of its own, unless ESCDELAY says otherwise: long enough for a
// sequence whose bytes arrive apart (an arrow key over a slow remote link),
// short enough that Esc alone still quits within half a second (ncurses
// waits a whole second by default).
constexpr int kEscapeDelayMs = 300;
// The most bytes of an unknown sequence that are dropped after Esc; a
// terminal's sequences are far shorter.
constexpr int kMaxSequenceBytes = 32;

// Colour pairs for the paints shown in colour.
constexpr short kGoodPair = 1;
constexpr short kBadPair = 2;

}  // namespace

struct Terminal::State {
  SCREEN* screen = nullptr;
  std::FILE* in = nullptr;
  bool colour = false;
  bool gone = false;
  std::string locale;  // the character set's locale before, to give back
};

namespace {

// The terminal library reads and writes characters in the character set of
// the player's locale; where that says plain ASCII (no locale set, as in
// many a container or cron job) the terminal is taken to be UTF-8, as near
// all are. Returns the locale it replaced.
std::string TakeCharacterSet() {
  const char* before = setlocale(LC_CTYPE, nullptr);
  std::string previous = before != nullptr ? before : "C";
  if (setlocale(LC_CTYPE, "") == nullptr ||
      std::strcmp(nl_langinfo(CODESET), "ANSI_X3.4-1968") == 0) {
    setlocale(LC_CTYPE, "C.UTF-8");
  }
  return previous;
}

}  // namespace

bool CapableTerm() {
  const char* term = std::getenv("TERM");
  return term != nullptr && *term != '\0' && std::strcmp(term, "dumb") != 0;
}

std::unique_ptr<Terminal> Terminal::Open(std::FILE* in, std::FILE* out,
                                         bool colour, std::string* why) {
  if (!isatty(fileno(in)) || !isatty(fileno(out)) || !CapableTerm()) {
    return nullptr;
  }
  std::fflush(out);
  // A type the library does not know is found out before newterm, which
  // would fail on it too, but keep memory it can never give back.
  const char* term = std::getenv("TERM");
  int found = 0;
  if (setupterm(term, fileno(out), &found) != OK) {
    *why = "unknown terminal type \"" + progutil::Escaped(term) +
           "\" (TERM): playing a line at a time";
    return nullptr;
  }
  del_curterm(cur_term);
  std::string locale = TakeCharacterSet();
  SCREEN* screen = newterm(term, out, in);
  if (screen == nullptr) {
    setlocale(LC_CTYPE, locale.c_str());
    return nullptr;
  }
  std::unique_ptr<Terminal> terminal(new Terminal);
  terminal->state_ = std::make_unique<State>();
  State& s = *terminal->state_;
  s.screen = screen;
  s.in = in;
  s.locale = std::move(locale);
  // ncurses has read ESCDELAY (milliseconds) from the environment, where a
  // user on a slower link sets it; the game's own delay is the default.
  const char* escdelay = std::getenv("ESCDELAY");
  if (escdelay == nullptr || *escdelay == '\0') set_escdelay(kEscapeDelayMs);
  cbreak();  // Ctrl-C, Ctrl-Z and Ctrl-\ still send their signals.
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  nodelay(stdscr, TRUE);  // NextKey waits itself, for signals too.
  curs_set(0);
  if (colour && has_colors() && start_color() == OK) {
    use_default_colors();
    s.colour = init_pair(kGoodPair, COLOR_GREEN, -1) == OK &&
               init_pair(kBadPair, COLOR_RED, -1) == OK;
  }
  return terminal;
}

// A terminal without an alternate screen (the Linux console, vt100) would
// keep the board, and the lines written after it would mix with its last
// row: the screen is cleared first.
Terminal::~Terminal() {
  const char* alternate = tigetstr(const_cast<char*>("smcup"));
  if (alternate == nullptr || alternate == reinterpret_cast<char*>(-1)) {
    werase(stdscr);
    wrefresh(stdscr);
  }
  endwin();
  delscreen(state_->screen);
  setlocale(LC_CTYPE, state_->locale.c_str());
}

int Terminal::rows() const { return getmaxy(stdscr); }

int Terminal::cols() const { return getmaxx(stdscr); }

void Terminal::Show(const Screen& screen) {
  auto attributes = [&](Paint paint) -> attr_t {
    switch (paint) {
      case Paint::kBold:
        return A_BOLD;
      case Paint::kGood:
        return state_->colour ? COLOR_PAIR(kGoodPair) | A_BOLD : A_BOLD;
      case Paint::kBad:
        return state_->colour ? COLOR_PAIR(kBadPair) : A_NORMAL;
      case Paint::kBar:
        return A_REVERSE;
      default:
        return A_NORMAL;
    }
  };
  werase(stdscr);
  const int rows = std::min(screen.rows(), this->rows());
  const int cols = std::min(screen.cols(), this->cols());
  for (int r = 0; r < rows; ++r) {
    // One call per run of cells of one paint, in wide characters, which the
    // terminal library writes in the locale's character set. The last cell
    // of the last row is written too; ncurses reports that the cursor
    // cannot move on, which is harmless.
    for (int c = 0; c < cols;) {
      std::wstring run;
      int end = c;
      do {
        const std::string& cell = screen.Cell(r, end);
        std::size_t at = 0;
        char32_t letter = '?';
        NextChar(cell, &at, &letter);
        run += static_cast<wchar_t>(letter);
        ++end;
      } while (end < cols && screen.PaintAt(r, end) == screen.PaintAt(r, c));
      wattrset(stdscr, static_cast<int>(attributes(screen.PaintAt(r, c))));
      mvwaddnwstr(stdscr, r, c, run.c_str(), end - c);
      c = end;
    }
  }
  wattrset(stdscr, A_NORMAL);
  if (screen.cursor_row() >= 0 && screen.cursor_row() < rows) {
    curs_set(1);
    wmove(stdscr, screen.cursor_row(), screen.cursor_col());
  } else {
    curs_set(0);
  }
  wrefresh(stdscr);
}

void Terminal::RepaintAll() { clearok(curscr, TRUE); }

// ncurses hands Esc over alone when nothing followed it in time, and also
// when what followed is no key it knows: Alt with a key (Esc, then the key)
// or another terminal's sequence (Esc [ ... or Esc O ...). What it read after
// Esc is then waiting in its queue; such a key is dropped whole, the rest of
// a sequence too, so that none of its bytes is taken for a guess or a quit.
int Terminal::AfterEscape() {
  int next = wgetch(stdscr);
  if (next == ERR) return kEscape;
  if (next >= KEY_MIN || next == kEscape) {
    ungetch(next);  // A key of its own after a lone Esc.
    return kEscape;
  }
  if (next != '[' && next != 'O') return kKeyOther;  // Alt with a key
  wtimeout(stdscr, get_escdelay());
  for (int i = 0; i < kMaxSequenceBytes; ++i) {
    const int c = wgetch(stdscr);
    if (c == ERR) break;
    if (c >= KEY_MIN) {
      ungetch(c);
      break;
    }
    // Esc O takes one byte more; Esc [ ends with a byte from @ to ~.
    if (next == 'O' || (c >= '@' && c <= '~')) break;
  }
  nodelay(stdscr, TRUE);
  return kKeyOther;
}

namespace {

// The key of one of the terminal library's key codes (KEY_UP, ...).
int KeyCode(int code) {
  switch (code) {
    case KEY_RESIZE:
      return kKeyResize;
    case KEY_ENTER:
      return kKeyEnter;
    case KEY_UP:
      return kKeyUp;
    case KEY_DOWN:
      return kKeyDown;
    case KEY_PPAGE:
      return kKeyPageUp;
    case KEY_NPAGE:
      return kKeyPageDown;
    case KEY_BACKSPACE:
      return kKeyBackspace;
    default:
      return kKeyOther;
  }
}

}  // namespace

// Keys already typed come first; then the wait, with the ending signals and
// SIGWINCH held back until ppoll lets them in, so that one that arrives just
// before the wait still cuts it short instead of being noticed at the next
// key.
int Terminal::NextKey() {
  for (;;) {
    if (EndingSignals::Pending() != 0) return kKeyNone;
    wint_t key = 0;
    const int got = wget_wch(stdscr, &key);
    if (got == KEY_CODE_YES) return KeyCode(static_cast<int>(key));
    if (got != ERR) {
      switch (key) {
        case kEscape:
          return AfterEscape();
        case '\r':
        case '\n':
          return kKeyEnter;
        case 127:
        case 8:
          return kKeyBackspace;
        default:
          return static_cast<int>(key);  // a character, as its code point
      }
    }
    if (state_->gone) return kKeyNone;
    sigset_t held, previous;
    sigemptyset(&held);
    EndingSignals::AddTo(&held);
    sigaddset(&held, SIGWINCH);
    sigprocmask(SIG_BLOCK, &held, &previous);
    if (EndingSignals::Pending() != 0) {
      sigprocmask(SIG_SETMASK, &previous, nullptr);
      return kKeyNone;
    }
    pollfd input = {fileno(state_->in), POLLIN, 0};
    int ready = ppoll(&input, 1, nullptr, &previous);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    // A terminal that hung up reads as ready for ever: take what is left,
    // then stop.
    if (ready > 0 && (input.revents & (POLLHUP | POLLERR | POLLNVAL))) {
      state_->gone = true;
    }
  }
}

bool PlayOnTerminal(Terminal& terminal, ScreenGame& game, std::string* err) {
  if (!game.Begin(err)) return false;
  while (!game.done()) {
    game.Resize(terminal.rows(), terminal.cols());
    Screen screen(terminal.rows(), terminal.cols());
    Draw(game.View(), &screen);
    terminal.Show(screen);
    int key = terminal.NextKey();
    if (key == kKeyNone) break;
    if (key == kCtrlL) {
      terminal.RepaintAll();
      continue;
    }
    // While the window is too small to show the board, only quitting works
    // (Esc quits then even from the word line): no guess is made blind.
    bool too_small = screen.rows() < kMinRows || screen.cols() < kMinCols;
    if (too_small && key == kEscape) key = kCtrlD;
    if (key == kKeyResize || (too_small && key != kCtrlD)) continue;
    if (!game.Key(key, err)) return false;
  }
  return true;
}
