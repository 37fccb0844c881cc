#include "look/rules.h"

#include "engine/round.h"

std::string Rules() {
  return "Guess the hidden word: type one letter and Enter to uncover every "
         "place it\n"
         "stands, or type the whole word. A letter that is not in the word, "
         "or a wrong\n"
         "word, is a miss; " +
         std::to_string(kMisses) +
         " misses lose the round. A letter tried before, or a word\n"
         "of another length than the hidden one, is refused and costs "
         "nothing.\n"
         "Commands: ? shows this help, ! gives up the round (the word is "
         "shown),\n"
         "+ shows a letter for one miss (a hint; never the last letter, nor "
         "the miss\n"
         "that would lose), Ctrl-D (the end of input) quits.\n";
}

std::vector<std::string> ScreenRules() {
  return {
      "Find the hidden word before the drawing is complete. A letter that is "
      "not in the word, or a wrong word, is a miss; " +
          std::to_string(kMisses) +
          " misses lose the round. A letter tried before costs nothing.",
      "Keys:",
      "a-z: guess the letter; every place it stands in the word is shown.",
      // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one long line
      "Enter: a line for the whole word; there Enter guesses it, Backspace "
      "erases, Esc cancels.",
      "!: give up the round; y confirms, any other key plays on.",
      "+: a hint, one letter shown for one miss; y confirms. There is none "
      "for the last letter, nor where its miss would lose.",
      "?: this help; Space, PgDn or Down: next page, PgUp or Up: back a page.",
      "Ctrl-L: repaint the screen.",
      "Esc, Ctrl-D, Ctrl-C: quit.",
      "Ctrl-Z: suspend; fg brings the game back.",
      "After a round: Enter or y plays the next one, n, q or Esc quits.",
  };
}
