// best_game.cpp - which best game there is to offer, and its track.
#include "game/replay/best_game.h"

#include <sys/stat.h>

#include <cstdio>

#include "game/replay/replay.h"

namespace {

// The best game on offer, apart from the game's state: it is what the replay recorder kept, and
// steers no play. Taken afresh whenever the recorder keeps a new best.
struct Best {
  BestGameOffer offer;
  RecordedGame game;
  std::vector<ShipPoint> track;
  int taken = 0;  // the recorder's count of best games when its latest was taken
} best;

void Take(const RecordedGame& game) {
  best.game = game;
  best.offer = BestGameOffer{};
  best.offer.watchable = true;
  if (!DecodeShipTrack(game.track, best.track)) best.track.clear();
  if (!best.track.empty()) best.offer.score = best.track.back().score;
}

// A refusal in the few words the title's line has room for.
const char* ShortReason(ReplayError error) {
  switch (error) {
    case ReplayError::kOlderVersion:
      return "made by an older version";
    case ReplayError::kOtherVersion:
      return "made by another version";
    case ReplayError::kNotAReplay:
    case ReplayError::kNotAFile:
      return "not a replay";
    case ReplayError::kTooLarge:
      return "too large";
    case ReplayError::kCannotRead:
      return "cannot be read";
    case ReplayError::kDamaged:
    case ReplayError::kNone:
      break;
  }
  return "damaged";
}

// A game of this run that raised the best replaces what there was.
void Refresh() {
  int number = 0;
  const RecordedGame* game = RecordedBestGame(&number);
  if (game && number != best.taken) {
    best.taken = number;
    Take(*game);
  }
}

}  // namespace

void UseBestReplay(const std::string& path) {
  best = Best{};
  RecordedBestGame(&best.taken);
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0) return;
  const std::string name = path.substr(path.find_last_of('/') + 1);
  ReplayJournal journal;
  const ReplayError error = LoadReplay(path, journal);
  if (error == ReplayError::kNone && journal.games.size() == 1) {
    Take(journal.games[0]);
    return;
  }
  const bool refused = error != ReplayError::kNone;
  best.offer.problem = name + " cannot be watched: " + (refused ? ShortReason(error) : "damaged");
  std::fprintf(stderr, "zumbrix: %s: %s\n", path.c_str(),
               refused ? ReplayErrorText(error).c_str() : "the replay does not hold one game");
}

const BestGameOffer& OfferedBestGame() {
  Refresh();
  return best.offer;
}

const RecordedGame* BestGameToWatch() {
  Refresh();
  return best.offer.watchable ? &best.game : nullptr;
}

const std::vector<ShipPoint>& BestGameTrack() {
  Refresh();
  return best.track;
}

std::string BestGameLine() {
  const BestGameOffer& offer = OfferedBestGame();
  if (!offer.watchable) return offer.problem;
  std::string line = "W = Watch Best Game";
  if (offer.score >= 0) line += " (" + std::to_string(offer.score) + ")";
  return line;
}
