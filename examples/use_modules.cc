// Uses the three smalltools modules as an outside program does: sorts an
// array with the sorting routines, plays one guess of the game engine
// against a one-word dict.txt that it writes into the current folder, and
// hashes a string key and an int key with the hash callbacks. Prints each
// result on its own line; exits 1 with a message when dict.txt cannot be
// written or the engine cannot read it.

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include "game.h"
#include "hash.h"
#include "sort.h"

int main() {
  int values[] = {42, -7, 19, 0, 3, -7, 100, 8};
  const int count = sizeof values / sizeof values[0];
  mergesort(values, count);
  std::printf("sorted: ");
  print_arr(values, count);
  std::fflush(stdout);

  // A dictionary of one word, so that the secret is known in advance.
  {
    std::ofstream dict("dict.txt");
    dict << "tools\n";
    if (!dict.flush()) {
      std::cerr << "use_modules: cannot write dict.txt\n";
      return 1;
    }
  }
  try {
    Game game("");  // writes the secret word and a line feed
    std::cout << "guess o: " << game.MakeGuess("o") << "\n";
    std::cout << "won: " << (game.HasWon() ? "yes" : "no") << "\n";
  } catch (const std::exception& e) {
    std::cerr << "use_modules: " << e.what() << "\n";
    return 1;
  }

  const int number = 2;
  std::cout << std::hex << "str_hash(abc): 0x" << str_hash("abc")
            << "\nint_hash(2): 0x" << int_hash(&number) << std::endl;
  return 0;
}
