#ifndef WORDGAME_ENGINE_ROUND_RECORDER_H_
#define WORDGAME_ENGINE_ROUND_RECORDER_H_

// Where a match's finished single-player rounds go: Match reports each one
// here and shows the saved state that comes back. The program records them
// in the state file (app/store_recorder.h); a test may use a stand-in.

#include <string>

#include "state/saved_state.h"

class RoundRecorder {
 public:
  virtual ~RoundRecorder() = default;

  /// Records `round` and sets *state to the saved state after it, which may
  /// count rounds that other sessions recorded meanwhile; when the round
  /// cannot be recorded, *state is the round applied to it as it is. *note
  /// is "" or one line for standard error; play goes on either way.
  virtual void Record(const RoundResult& round, SavedState* state,
                      std::string* note) = 0;
};

#endif  // WORDGAME_ENGINE_ROUND_RECORDER_H_
