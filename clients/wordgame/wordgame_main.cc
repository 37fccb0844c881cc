// wordgame: a terminal word-guessing game over the engine in game.o.

#include "progutil.h"
#include "wordgame.h"

int main(int argc, char** argv) {
  return RunMain("wordgame", RunWordgame, argc, argv);
}
