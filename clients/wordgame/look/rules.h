#ifndef WORDGAME_LOOK_RULES_H_
#define WORDGAME_LOOK_RULES_H_

// The rules of the game as each mode tells them: the line mode and --help
// as lines of text, the full screen as paragraphs that it wraps itself.

#include <string>
#include <vector>

/// The rules and the commands of the line mode, a few lines ending in a
/// line feed.
std::string Rules();

/// The rules and keys of the full screen, as one paragraph per string.
std::vector<std::string> ScreenRules();

#endif  // WORDGAME_LOOK_RULES_H_
