#ifndef WORDGAME_APP_STORE_RECORDER_H_
#define WORDGAME_APP_STORE_RECORDER_H_

// A match's rounds recorded in the state file.

#include <string>

#include "engine/round_recorder.h"
#include "state/state_store.h"

class StoreRecorder : public RoundRecorder {
 public:
  /// Records in `store`, which must outlive the recorder.
  explicit StoreRecorder(StateStore& store) : store_(store) {}

  /// StateStore::Record: a round that could not be saved is told in *note.
  void Record(const RoundResult& round, SavedState* state,
              std::string* note) override {
    store_.Record(round, state, note);
  }

 private:
  StateStore& store_;
};

#endif  // WORDGAME_APP_STORE_RECORDER_H_
