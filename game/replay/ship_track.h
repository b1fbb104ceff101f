// ship_track.h - the ship's course through a recorded game: where it was, whether it was there
// and the score, at each flip of the frame loop, kept as compact bytes beside the game's input.
//
// A point is taken at the flip at which the game started and at every later flip of the frame
// loop itself (not those inside the pause screen), so point k is what the game showed after its
// k-th frame of play and where the ship is drawn in the frame after it. Each point is a byte of
// flags and the steps from the point before as variable-length integers: a frame in which the
// ship and the score stand still is one byte, one in which the ship moves about three. Any thread;
// ShipPointNow needs the game's globals (main thread).
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "game/replay/replay_bytes.h"

struct ShipPoint {
  int x = 0, y = 0;
  bool shown = false;  // the ship is on the playfield (not destroyed)
  bool hyper = false;  // in hyperspace, drawn faint
  int score = 0;
  bool operator==(const ShipPoint&) const = default;
};

// The ship and the score as they are now. Main thread.
ShipPoint ShipPointNow();

class ShipTrackWriter {
 public:
  void Add(const ShipPoint& point);
  std::size_t Points() const { return points_; }
  std::size_t Size() const { return out_.out.size(); }
  std::vector<std::uint8_t> TakeBytes() { return std::move(out_.out); }

 private:
  ReplayBytesOut out_;
  ShipPoint last_;
  std::size_t points_ = 0;
};

// The points of `bytes`; false (and `points` unspecified) when the bytes make no track: a flag
// or a step out of range, or a score that falls or grows faster than any game scores.
bool DecodeShipTrack(const std::vector<std::uint8_t>& bytes, std::vector<ShipPoint>& points);
