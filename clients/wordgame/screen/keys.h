#ifndef WORDGAME_SCREEN_KEYS_H_
#define WORDGAME_SCREEN_KEYS_H_

// The keys of the full screen as the terminal front end passes them on: a
// character as its code, the others as constants beyond every byte, so that
// no character is taken for one.

constexpr int kKeyEnter = 0x110000;
constexpr int kKeyBackspace = 0x110001;
/// Any other key of the keyboard that is not a character (arrows, F1, ...).
constexpr int kKeyOther = 0x110002;
/// The keys that page through the help (elsewhere they mean nothing).
constexpr int kKeyUp = 0x110003;
constexpr int kKeyDown = 0x110004;
constexpr int kKeyPageUp = 0x110005;
constexpr int kKeyPageDown = 0x110006;
/// The window's size changed (Ctrl-Z and fg included).
constexpr int kKeyResize = 0x110100;
/// No key: an ending signal was recorded or the terminal has gone.
constexpr int kKeyNone = -1;
constexpr int kCtrlD = 4;
/// Repaints the whole screen (output of another program may have spoilt it).
constexpr int kCtrlL = 12;
constexpr int kEscape = 27;

#endif  // WORDGAME_SCREEN_KEYS_H_
