// Fuzz target: arbitrary bytes into the replay file's parsers, which must accept or refuse them
// with a reason, never crash, hang or allocate without bound.
//
// A random file almost never passes the CRC, so the first byte chooses what the rest is:
//   odd           a whole file, parsed as read; a file it accepts must survive being written and
//                 parsed again unchanged, and so must each game's input
//   0 mod 4       a game's input stream: decoded, written again and decoded again, the second
//                 writing must equal the first
//   2 mod 4       a game's snapshot, checked (no game is needed for that)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "game/replay/replay_file.h"
#include "game/replay/replay_input.h"
#include "game/replay/replay_snapshot.h"

namespace {

// The input stream written again is stable: what decodes from it writes the same bytes.
void CheckInput(const std::vector<std::uint8_t>& input) {
  std::vector<ReplayFrame> frames;
  ReplayFrame tail;
  if (!DecodeReplayInput(input, frames, tail)) return;
  const std::vector<std::uint8_t> once = EncodeReplayInput(frames, tail);
  std::vector<ReplayFrame> again;
  ReplayFrame again_tail;
  if (!DecodeReplayInput(once, again, again_tail)) std::abort();
  if (again.size() != frames.size()) std::abort();
  if (EncodeReplayInput(again, again_tail) != once) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::vector<std::uint8_t> rest(data + 1, data + size);
  if (data[0] & 1) {
    const std::vector<std::uint8_t> file(data, data + size);
    ReplayJournal journal;
    if (ParseReplay(file, journal) != ReplayError::kNone) return 0;
    const std::vector<std::uint8_t> again = SerializeReplay(journal);
    ReplayJournal reparsed;
    if (ParseReplay(again, reparsed) != ReplayError::kNone) std::abort();
    if (!(reparsed == journal) || SerializeReplay(reparsed) != again) std::abort();
    for (const RecordedGame& game : journal.games) CheckInput(game.input);
  } else if ((data[0] & 2) == 0) {
    CheckInput(rest);
  } else {
    CheckGameSnapshot(rest);
  }
  return 0;
}
