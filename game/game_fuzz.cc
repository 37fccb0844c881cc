// Fuzz target for the game engine. The input up to its first NUL byte is
// written as "dict.txt"; the rest, split at NUL bytes, are guesses made in
// turn (a guess may be empty). After construction and after every guess the
// hidden word must hold one display character and one space per letter of
// the secret, each display character "_" or the secret's own letter, and the
// outcome must agree with the guess lists.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "game.h"

namespace {

// Constructs a Game with its standard output (the secret and a line feed)
// captured into `secret_line`.
Game MakeGameCapturingSecret(std::string& secret_line) {
  std::fflush(stdout);
  int saved = dup(1);
  FILE* capture = std::tmpfile();
  dup2(fileno(capture), 1);
  auto restore = [&] {
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
  };
  try {
    Game game("");
    restore();
    std::rewind(capture);
    for (int c; (c = std::fgetc(capture)) != EOF;)
      secret_line.push_back(static_cast<char>(c));
    std::fclose(capture);
    return game;
  } catch (...) {
    restore();
    std::fclose(capture);
    throw;
  }
}

void CheckInvariants(Game& game, const std::string& secret, size_t n_guesses) {
  std::string hidden = game.hidden_word();
  if (game.word_length() != secret.size()) std::abort();
  if (hidden.size() != 2 * secret.size()) std::abort();
  bool all_revealed = true;
  for (size_t i = 0; i < secret.size(); ++i) {
    char shown = hidden[2 * i];
    if (shown != '_' && shown != secret[i]) std::abort();
    if (hidden[2 * i + 1] != ' ') std::abort();
    all_revealed = all_revealed && shown == secret[i];
  }
  if (game.HasWon() != all_revealed) std::abort();
  size_t bad = game.bad_guesses().size();
  if (bad + game.good_guesses().size() > n_guesses) std::abort();
  if (game.HasLost() != (bad > 6)) std::abort();
}

}  // namespace

// A private working folder for dict.txt, removed at exit.
char work_dir[] = "/tmp/game_fuzz.XXXXXX";

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (mkdtemp(work_dir) == nullptr || chdir(work_dir) != 0) std::abort();
  std::atexit([] {
    unlink("dict.txt");
    rmdir(work_dir);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t cut = input.find('\0');
  std::string dict = input.substr(0, cut);
  std::vector<std::string> guesses;
  while (cut != std::string::npos && guesses.size() < 64) {
    size_t next = input.find('\0', cut + 1);
    guesses.push_back(input.substr(cut + 1, next - cut - 1));
    cut = next;
  }
  std::ofstream("dict.txt", std::ios::binary | std::ios::trunc) << dict;

  std::string secret_line;
  try {
    Game game = MakeGameCapturingSecret(secret_line);
    if (secret_line.empty() || secret_line.back() != '\n') std::abort();
    std::string secret = secret_line.substr(0, secret_line.size() - 1);
    CheckInvariants(game, secret, 0);
    for (size_t k = 0; k < guesses.size(); ++k) {
      std::string shown = game.MakeGuess(guesses[k]);
      if (shown != game.hidden_word()) std::abort();
      CheckInvariants(game, secret, k + 1);
    }
  } catch (const std::runtime_error&) {
    if (!dict.empty()) std::abort();  // Only an empty file holds no line.
  }
  return 0;
}
