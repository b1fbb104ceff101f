// Fuzz target: arbitrary bytes as a game's ship track (the points a best game's ghost flies and
// whose score the title offers). Decoding must accept or refuse them, never crash or hang; the
// points of a track it accepts, written again, must decode to the same points and write the
// same bytes a second time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "game/replay/ship_track.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  std::vector<ShipPoint> points;
  if (!DecodeShipTrack(bytes, points)) return 0;
  ShipTrackWriter writer;
  for (const ShipPoint& point : points) writer.Add(point);
  if (writer.Points() != points.size()) std::abort();
  const std::vector<std::uint8_t> once = writer.TakeBytes();
  std::vector<ShipPoint> again;
  if (!DecodeShipTrack(once, again) || again != points) std::abort();
  ShipTrackWriter rewriter;
  for (const ShipPoint& point : again) rewriter.Add(point);
  if (rewriter.TakeBytes() != once) std::abort();
  return 0;
}
