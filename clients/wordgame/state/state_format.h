#ifndef WORDGAME_STATE_STATE_FORMAT_H_
#define WORDGAME_STATE_STATE_FORMAT_H_

// The text format of wordgame's state file (SavedState), kept in
// $XDG_STATE_HOME/wordgame/state (StateStore).
//
// The file is plain text, one record a line, fields apart by single spaces:
//
//   wordgame-state 1
//   # wordgame's statistics and recently played words; see wordgame(1).
//   played 15
//   won 12
//   lost 3
//   streak 2
//   best-streak 5
//   wins-by-misses 0:3 1:4 2:2 3:1 4:1 6:1
//   recent 5be2b8c1a0d94e17 307 apple banana cherry / date fig
//   daily-counts 3 2 1 2
//   daily 2026-12-08 5be2b8c1a0d94e17 solved 2
//   daily 2026-12-09 5be2b8c1a0d94e17 unsolved 7 1
//   end
//
// The first line names the format and its version; a file of any other
// version is not read. Lines starting with '#' are comments. Then, each
// once: rounds played (always won + lost), won, lost, the current winning
// streak and the best one (streak <= best-streak <= won), and the wins by the
// misses they took ("2:4": four wins took two misses; at most kMaxWinMisses
// misses, only counts above 0, adding up to won). Then up to kMaxRecentLists
// "recent" lines, the list played most recently first: the list's identity
// (ListId, 16 hex digits), its number of words, the words played in the
// list's pass under way (Deck), oldest first, and after a field "/" (none
// when there are none) the words of the pass before held back, in the order
// they come back (at most half the list's words), each word once. Then, when
// daily words were played (a file without them has no daily history):
// "daily-counts" with the daily words played, solved, the daily streak and the
// best one (streak <= best <= solved <= played), and up to kMaxDailyResults
// "daily" lines, by date: the date, the list's identity, "solved" or
// "unsolved", the misses (at most kMaxWinMisses when solved, one more when not)
// and, when there were any, the hints among them, each day and list once. The
// closing "end" line shows the file was written whole. Counts are decimal, at
// most kMaxCount. A file that breaks any of these rules is damaged: it is set
// aside, never deleted.

#include <cstddef>
#include <string>

#include "state/saved_state.h"

/// The file's size limit: kMaxRecentLists lists of kMaxRecentWords words
/// and half as many held back, of up to kMaxWordLetters letters of up to
/// kMaxLetterBytes and a space each, the daily results, with room
/// for the counts.
/// Anything larger is damage (or not the file at all), and reading must stop
/// somewhere.
constexpr std::size_t kMaxStateBytes = std::size_t{32} << 20;

/// The state in the file format described above.
std::string FormatStateFile(const SavedState& state);

/// Reads the file format into *state. On a breach of its rules returns false
/// and sets *why to a short reason naming the line ("line 3: ...").
bool ParseStateFile(const std::string& text, SavedState* state,
                    std::string* why);

#endif  // WORDGAME_STATE_STATE_FORMAT_H_
