// Fuzz target for the state file's reader: any input is refused with a reason
// or read into a state that is written back as text that reads the same; a
// round added to that state (below the count limit), daily or not, still
// writes a file that reads back.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "state/state_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  SavedState state, again;
  std::string why;
  if (!ParseStateFile(text, &state, &why)) {
    if (why.empty()) std::abort();
    return 0;
  }
  const std::string written = FormatStateFile(state);
  if (!ParseStateFile(written, &again, &why) ||
      FormatStateFile(again) != written) {
    std::abort();
  }
  if (state.stats.played() < kMaxCount) {
    std::uint64_t id = state.lists.empty() ? 1 : state.lists.back().list_id;
    RoundResult round{size % 2 == 0, size % 8, "fuzz", id, size % 5};
    round.daily = size % 3 == 0;  // a daily round, some day around 1970
    round.day = static_cast<Day>(size % 64) - 32;
    ApplyRound(round, &state);
    if (!ParseStateFile(FormatStateFile(state), &again, &why)) std::abort();
  }
  return 0;
}
