// wordgame: a terminal word-guessing game over the engine in game.o.

#include "app/wordgame.h"
#include "progutil.h"

int main(int argc, char** argv) {
  return progutil::RunMain("wordgame", RunWordgame, argc, argv);
}
