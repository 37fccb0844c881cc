// wordgame [-l N] [FILE]: a terminal word-guessing game over the engine in
// game.o.

#include "wordgame.h"

int main(int argc, char** argv) {
  return RunWordgame({argv + 1, argv + argc}, stdin, stdout, stderr);
}
