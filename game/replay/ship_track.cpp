// ship_track.cpp - taking the ship's point and writing and reading a track.
#include "game/replay/ship_track.h"

#include <algorithm>

#include "game/play/entities.h"
#include "game/play/globals.h"

namespace {

enum TrackFlag : std::uint8_t {
  kMovedX = 1,
  kMovedY = 2,
  kScored = 4,
  kShown = 8,
  kHyper = 16,
};
constexpr std::uint8_t kEveryFlag = kMovedX | kMovedY | kScored | kShown | kHyper;
// Far outside anything the ship or the score reach; a step beyond it is a damaged file.
constexpr int kFarthest = 1 << 24;
// More than a game can score in a frame on average, with a start-up allowance: every point but a
// wave's comes from a shot, one shot leaves the ship every 8 frames at most and earns 3200 at
// most, and a wave's 2000 (with the free shot of its get-ready) takes hundreds of frames. A track
// scoring faster claims what its game never did.
constexpr long long kMostPointsAFrame = 1000;
constexpr long long kMostPointsAtStart = 10 * kMostPointsAFrame;

}  // namespace

ShipPoint ShipPointNow() {
  ShipPoint point;
  if (!playfield.player) return point;
  point.x = playfield.player->x;
  point.y = playfield.player->y;
  point.shown = playfield.player->dead == 0;
  point.hyper = playfield.player->hyperctr > 0;
  point.score = playfield.player->score;
  return point;
}

void ShipTrackWriter::Add(const ShipPoint& point) {
  std::uint8_t flags = 0;
  if (point.x != last_.x) flags |= kMovedX;
  if (point.y != last_.y) flags |= kMovedY;
  if (point.score != last_.score) flags |= kScored;
  if (point.shown) flags |= kShown;
  if (point.hyper) flags |= kHyper;
  out_.Byte(flags);
  if (flags & kMovedX) out_.Signed(static_cast<std::int64_t>(point.x) - last_.x);
  if (flags & kMovedY) out_.Signed(static_cast<std::int64_t>(point.y) - last_.y);
  if (flags & kScored) out_.Signed(static_cast<std::int64_t>(point.score) - last_.score);
  last_ = point;
  ++points_;
}

bool DecodeShipTrack(const std::vector<std::uint8_t>& bytes, std::vector<ShipPoint>& points) {
  points.clear();
  ReplayBytesIn in(bytes.data(), bytes.size());
  ShipPoint point;
  const auto step = [&in](int from, int least, int most) {
    const int value = in.Int(-kFarthest, kFarthest);
    const long long to = static_cast<long long>(from) + value;
    if (to < least || to > most) in.bad = true;
    return in.bad ? from : static_cast<int>(to);
  };
  while (!in.AtEnd()) {
    const std::uint8_t flags = in.Byte();
    if (flags & ~kEveryFlag) return false;
    if (flags & kMovedX) point.x = step(point.x, -kFarthest, kFarthest);
    if (flags & kMovedY) point.y = step(point.y, -kFarthest, kFarthest);
    // The score only ever grows, and no faster than a game can score.
    const long long most = std::min<long long>(
        kMostPointsAtStart + kMostPointsAFrame * static_cast<long long>(points.size()), INT32_MAX);
    if (flags & kScored) point.score = step(point.score, point.score, static_cast<int>(most));
    point.shown = (flags & kShown) != 0;
    point.hyper = (flags & kHyper) != 0;
    if (in.bad) return false;
    points.push_back(point);
  }
  return true;
}
