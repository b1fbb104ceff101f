// Fuzz target: arbitrary bytes into the replay file parser, which must accept a journal or refuse
// the file with a reason, never crash, hang or allocate without bound. A journal it accepts must
// survive being written and parsed again unchanged.
//
// A random file almost never passes the CRC, so inputs whose first byte is even are taken as a
// body: the target wraps them in a valid header (seed and frame count from the next bytes) and a
// correct CRC, so that the damage reaches the item parser.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/replay_file.h"

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<std::uint8_t> Wrapped(const std::uint8_t* data, std::size_t size) {
  // The header of an empty journal, whose body and counts are then replaced.
  std::vector<std::uint8_t> file = SerializeReplay(ReplayJournal{});
  const std::size_t header = file.size() - 4 - 1;  // less the CRC and the empty tail's end tag
  file.resize(header);
  std::uint32_t frames = 0;
  if (size >= 2) {
    frames = data[1];
    data += 2;
    size -= 2;
  }
  std::memcpy(file.data() + header - 8, &frames, 4);  // little-endian hosts only
  const auto body = static_cast<std::uint32_t>(size);
  std::memcpy(file.data() + header - 4, &body, 4);
  file.insert(file.end(), data, data + size);
  Put(file, ReplayChecksum(file.data(), file.size()), 4);
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> file;
  if (size > 0 && (data[0] & 1) == 0) {
    file = Wrapped(data + 1, size - 1);
  } else {
    file.assign(data, data + size);
  }
  ReplayJournal journal;
  if (ParseReplay(file, journal) != ReplayError::kNone) return 0;
  const std::vector<std::uint8_t> again = SerializeReplay(journal);
  ReplayJournal reparsed;
  if (ParseReplay(again, reparsed) != ReplayError::kNone) std::abort();
  if (SerializeReplay(reparsed) != again) std::abort();
  return 0;
}
