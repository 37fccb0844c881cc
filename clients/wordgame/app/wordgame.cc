#include "app/wordgame.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <random>
#include <utility>

#include "app/options.h"
#include "app/store_recorder.h"
#include "app/word_choice.h"
#include "engine/daily_round.h"
#include "engine/ending_signals.h"
#include "engine/game_folder.h"
#include "engine/match.h"
#include "line/play.h"
#include "line/wrap.h"
#include "progutil.h"
#include "screen/screen_game.h"
#include "screen/terminal.h"
#include "state/daily.h"
#include "state/saved_state.h"
#include "state/state_store.h"
#include "text/text.h"
#include "text/utf8.h"
#include "words/daily_word.h"
#include "words/deck.h"
#include "words/word_list.h"

namespace {

// Colours only for a terminal that shows them, and not against the player's
// wish (NO_COLOR set to anything but the empty string).
bool WantsColour(std::FILE* out) {
  int fd = fileno(out);
  const char* no_colour = std::getenv("NO_COLOR");
  return fd >= 0 && isatty(fd) && CapableTerm() &&
         (no_colour == nullptr || *no_colour == '\0');
}

// A seed from the system's source of randomness. The device is made on the
// heap: libstdc++'s holds a whole engine, 2.5 KiB, too much for a small
// stack.
std::uint32_t FreshSeed() {
  return (*std::make_unique<std::random_device>())();
}

bool IsOpen(int fd) { return fd < 0 || fcntl(fd, F_GETFD) >= 0; }

void Note(std::FILE* err, const std::string& note) {
  if (!note.empty()) std::fprintf(err, "wordgame: %s\n", note.c_str());
}

// What the players see first: a line, and what else there is to say about
// the word list, at length for the line mode and in brief for the full
// screen's one line.
struct Opening {
  std::string line, note, brief_note;
};

// The opening of a game of `words`.
Opening OpeningOf(const ChosenWords& words) {
  const WordList& list = words.list;
  Opening opening{words.opening, "", ""};
  for (const std::string& n : {SkippedNote(list), RecategorisedNote(list)}) {
    if (!n.empty()) opening.note += words.path + ": " + n + "\n";
  }
  if (list.skipped != 0) opening.brief_note = " " + SkippedBrief(list);
  return opening;
}

// Plays the rounds of `match` in full screen on `terminal`, which it closes
// before the farewell lines. False and *err when it cannot. Not inlined:
// the screen's locals stay off the line mode's stack.
[[gnu::noinline]] bool PlayFullScreen(std::unique_ptr<Terminal> terminal,
                                      GameFolder& folder, Match& match,
                                      const Opening& opening, std::FILE* in,
                                      std::FILE* out, std::FILE* notes,
                                      std::string* err) {
  ScreenGame game(folder, match, opening.line + opening.brief_note);
  bool played = PlayOnTerminal(*terminal, game, err);
  // Keys the setter typed that the game did not take must not reach the
  // shell's command line.
  if (game.setting_word()) tcflush(fileno(in), TCIFLUSH);
  terminal.reset();  // The normal screen is back for the plain lines.
  // The opening's note at length, which a small window may not have had
  // room for: which lines of the list were skipped.
  std::string farewell = opening.note + game.Farewell();
  std::fputs(farewell.c_str(), out);
  std::fflush(out);
  for (const std::string& n : game.notes()) Note(notes, n);
  return played && progutil::FlushOutput(out, err);
}

// Plays the rounds of `match`: in full screen on a terminal that can have
// it, else a line at a time. False and *err when it cannot.
bool PlayMatch(const Settings& settings, Match& match, const Opening& opening,
               std::FILE* in, std::FILE* out, std::FILE* notes,
               std::string* err) {
  const bool colour = WantsColour(out);
  const auto folder = std::make_unique<GameFolder>();
  if (!folder->Open(err)) return false;
  // An interrupt ends the game in order: the terminal given back, the word
  // and the score shown, then the signal raised again (RunWordgame).
  folder->DeferEndingSignals();
  // Keys typed while the list was read were meant for no board yet.
  if (isatty(fileno(in))) tcflush(fileno(in), TCIFLUSH);
  std::string why;
  std::unique_ptr<Terminal> terminal =
      settings.line || settings.terse ? nullptr
                                      : Terminal::Open(in, out, colour, &why);
  if (terminal) {
    return PlayFullScreen(std::move(terminal), *folder, match, opening, in, out,
                          notes, err);
  }
  Note(notes, why);
  int column = 0;
  const std::string text =
      Wrapped(opening.line + "\n" + opening.note, TerminalCols(out), &column);
  std::fputs(text.c_str(), out);
  Look look;
  look.colour = colour;
  // Where the drawing cannot help, a terminal that shows no more than lines
  // (TERM=dumb, as with a screen reader), the line mode is terse.
  look.terse = settings.terse ||
               (!settings.line && isatty(fileno(out)) && !CapableTerm());
  return PlayRounds(*folder, match, in, out, notes, look, err);
}

// What a game of one player keeps while it lasts, on the heap as everything
// large on the way to the deepest calls: the words and their opening; unless
// --no-save the state file's store, its recorder and what the file held;
// then the deck and the match.
struct OnePlayer {
  ChosenWords words;
  Opening opening;
  std::optional<StateStore> store;
  std::optional<StoreRecorder> recorder;
  SavedState saved;
  std::unique_ptr<Deck> deck;
  std::unique_ptr<Match> match;
};

// The opening of the game's words and, unless --no-save, the state file's
// store and what it holds, into *game; what there is to say of the file
// goes to `notes`. Not inlined: the locals of setting up the game would
// take the stack for the whole of it.
[[gnu::noinline]] void SetUp(const Settings& settings, OnePlayer* game,
                             std::FILE* notes) {
  game->opening = OpeningOf(game->words);
  if (settings.no_save) return;
  game->store.emplace(StateFolder());
  game->recorder.emplace(*game->store);
  std::string load_note;
  game->saved = game->store->Load(&load_note);
  Note(notes, load_note);
}

// The match of *game: on a deck of `words` (views into the list's) shuffled
// by `seed` from `start`, with the list's categories as clues, recorded
// when the game has a recorder. Not inlined, as SetUp.
[[gnu::noinline]] Match& Deal(OnePlayer* game, WordViews words,
                              std::uint32_t seed, DeckStart start) {
  const ChosenWords& chosen = game->words;
  game->deck = std::make_unique<Deck>(std::move(words), seed, std::move(start),
                                      chosen.list.alphabet);
  game->match = std::make_unique<Match>(*game->deck);
  game->match->set_clues(&chosen.list);
  if (game->recorder) {
    game->match->set_recorder(&*game->recorder, std::move(game->saved),
                              chosen.id, chosen.all);
  }
  return *game->match;
}

// --daily: the one round of the day's word, drawn from the whole list by the
// date and the list's identity; when the list's word of that day was played
// already, its result instead. A later date is refused: its word is not out
// yet. Not inlined: its locals would take the stack of every other game of
// one player.
[[gnu::noinline]] bool PlayDaily(const Settings& settings, OnePlayer& game,
                                 std::FILE* in, std::FILE* out,
                                 std::FILE* notes, std::string* err) {
  const ChosenWords& words = game.words;
  const Day today = Today();
  const Day day = settings.have_day ? settings.day : today;
  if (!DailyWordIsOut(day, today, err)) return false;
  if (const DailyResult* done = game.saved.daily.Find(day, words.id)) {
    const std::string text = DailyPlayedAlready(game.saved.daily, today, *done);
    std::fputs(text.c_str(), out);
    return progutil::FlushOutput(out, err);
  }
  Match& match =
      Deal(&game, WordViews{DailyWord(words.list.words, day, words.id)}, 0,
           DeckStart());
  match.set_daily(day, today, words.id);
  return PlayMatch(settings, match, game.opening, in, out, notes, err);
}

// One player: the words the settings choose, the deck opening with those
// not played lately, each round recorded unless --no-save; or the daily
// word.
bool PlaySingle(const Settings& settings, std::FILE* in, std::FILE* out,
                std::FILE* notes, std::string* err) {
  const auto game = std::make_unique<OnePlayer>();
  if (!ChooseWords(settings, &game->words, notes, err)) return false;
  SetUp(settings, game.get(), notes);
  if (settings.daily) return PlayDaily(settings, *game, in, out, notes, err);
  // The deck takes the words over: the match needs only their categories.
  WordList& list = game->words.list;
  DeckStart start =
      StartOf(list.words, list.alphabet, game->saved.Recent(game->words.id));
  Match& match =
      Deal(game.get(), std::move(list.words), FreshSeed(), std::move(start));
  return PlayMatch(settings, match, game->opening, in, out, notes, err);
}

// --categories: the categories of the words the other options leave. This,
// the statistics and the game of two are not inlined into Run: their
// locals would take the stack of every game of one player.
[[gnu::noinline]] bool ListCategories(const Settings& settings, std::FILE* out,
                                      std::FILE* notes, std::string* err) {
  ChosenWords words;
  if (!ChooseWords(settings, &words, notes, err)) return false;
  std::string listing = CategoryListing(words.list);
  if (listing.empty()) {
    listing = words.path + " has no categories (no [category] lines).\n";
  }
  std::fputs(listing.c_str(), out);
  return progutil::FlushOutput(out, err);
}

// --stats and --reset-stats. A reset asks first on a terminal, and needs
// --yes elsewhere.
[[gnu::noinline]] bool Statistics(const Settings& settings, std::FILE* in,
                                  std::FILE* out, std::FILE* notes,
                                  std::string* err) {
  StateStore store(StateFolder());
  std::string note;
  SavedState saved = store.Load(&note);
  Note(notes, note);
  if (settings.action == Action::kStats) {
    const std::string text =
        FormatStats(saved.stats) + FormatDailyStats(saved.daily, Today());
    std::fputs(text.c_str(), out);
    return progutil::FlushOutput(out, err);
  }
  if (!settings.yes) {
    if (!isatty(fileno(in))) {
      *err =
          "--reset-stats asks first, and standard input is not a terminal "
          "to answer on: add --yes";
      return false;
    }
    int column = 0;
    const std::string ask = Wrapped(
        "Reset the statistics of " + CountOf(saved.stats.played(), "round") +
            " to zero? The recently played words are kept. [y/N] ",
        TerminalCols(out), &column);
    std::fputs(ask.c_str(), out);
    if (!progutil::FlushOutput(out, err)) return false;
    InputLine answer;
    bool ended = false;
    if (!ReadLine(in, &answer, &ended, err)) return false;
    const std::string yes = Tidy(answer.text);
    if (ended || answer.cut || (yes != "y" && yes != "yes")) {
      std::fputs(ended ? "\nNothing reset.\n" : "Nothing reset.\n", out);
      return progutil::FlushOutput(out, err);
    }
  }
  // Beyond the file-size limit the write fails and is reported, as in play.
  IgnoreFileSizeSignal no_size_signal;
  if (!store.ResetStats(&saved, &note)) {
    *err = note;
    return false;
  }
  Note(notes, note);
  std::fputs("The statistics are reset.\n", out);
  return progutil::FlushOutput(out, err);
}

// Two players, one setting the word, the other guessing it, in turn.
[[gnu::noinline]] bool PlayTwo(const Settings& settings, std::FILE* in,
                               std::FILE* out, std::FILE* notes,
                               std::string* err) {
  const auto match =
      std::make_unique<Match>(settings.names[0], settings.names[1]);
  const Opening opening{"Two players, " + settings.names[0] + " and " +
                            settings.names[1] +
                            ": the guesser wins a round by finding the word, "
                            "the setter when it is not found.",
                        "", ""};
  return PlayMatch(settings, *match, opening, in, out, notes, err);
}

// Does what the settings ask for. False and *err when it cannot.
bool Run(const Settings& settings, std::FILE* in, std::FILE* out,
         std::FILE* notes, std::string* err) {
  switch (settings.action) {
    case Action::kCategories:
      return ListCategories(settings, out, notes, err);
    case Action::kStats:
    case Action::kResetStats:
      return Statistics(settings, in, out, notes, err);
    case Action::kPlay:
      break;
  }
  if (!settings.two) return PlaySingle(settings, in, out, notes, err);
  return PlayTwo(settings, in, out, notes, err);
}

// Does what the command line asks. A deferred ending signal leaves no
// reason: RunWordgame raises it once the output is out.
progutil::Status Wordgame(const std::vector<std::string>& args, std::FILE* in,
                          std::FILE* out, std::FILE* notes,
                          std::string* reason) {
  // A closed output or input is reported at once: left closed, its
  // descriptor could be taken by the game's own files.
  if (!IsOpen(fileno(out))) {
    *reason = std::string("write error: ") + std::strerror(EBADF);
    return progutil::Status::kFailed;
  }
  // The settings are on the heap, as everything large on the way to the
  // deepest calls.
  const auto settings = std::make_unique<Settings>();
  if (!ParseArguments(args, settings.get(), reason)) {
    return progutil::Status::kMisused;
  }
  if (settings->help) {  // -h, or --help among other arguments
    std::fputs(kUsage, out);
    std::fputs(HelpAfterUsage().c_str(), out);
    return progutil::Status::kDone;
  }
  if (!IsOpen(fileno(in))) {
    *reason = std::string("read error: ") + std::strerror(EBADF);
    return progutil::Status::kFailed;
  }
  // A closed standard error loses only messages, but must not be taken by a
  // file of the game either.
  for (int fd = 0; fd <= 2; ++fd) {
    if (!IsOpen(fd)) open("/dev/null", O_RDWR);
  }
  // A reader that goes away (wordgame | head) shows up as a failed write,
  // which ends the game normally, so the game folder is always removed.
  std::signal(SIGPIPE, SIG_IGN);
  // The C library's Unicode tables are loaded here, where the stack is
  // shallow, not at a list's first letter beyond ASCII, deep in its reading.
  LoadUnicodeTables();
  bool played = false;
  try {
    played = Run(*settings, in, out, notes, reason);
  } catch (const std::bad_alloc&) {
    *reason = "not enough memory for the game";
  }
  if (EndingSignals::Pending() != 0) {
    // What failed on the way out is of no interest.
    reason->clear();
    return progutil::Status::kFailed;
  }
  return played ? progutil::Status::kDone : progutil::Status::kFailed;
}

}  // namespace

int RunWordgame(const std::vector<std::string>& args, std::FILE* in,
                std::FILE* out, std::FILE* err) {
  const std::string help = HelpAfterUsage();
  const progutil::Program wordgame = {"wordgame", Wordgame, kUsage,
                                      help.c_str()};
  const int status = progutil::Run(wordgame, args, in, out, err);
  // An ending signal that the game deferred ends the program now, as it
  // would have at once.
  if (int sig = EndingSignals::TakePending()) {
    std::raise(sig);
    return 128 + sig;  // Reached only when the caller handles the signal.
  }
  return status;
}
