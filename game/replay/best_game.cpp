// best_game.cpp - which best game there is to offer, and its track.
#include "game/replay/best_game.h"

#include <cstdio>

#include "core/file_kind.h"
#include "game/config/game_files.h"
#include "game/config/player_name.h"
#include "game/replay/replay.h"

namespace {

// The best game on offer, apart from the game's state: it is what the replay recorder kept, and
// steers no play. Taken afresh whenever the recorder keeps a new best.
struct Best {
  BestGameOffer offer;
  RecordedGame game;
  std::vector<ShipPoint> track;
  int taken = 0;         // the recorder's count of best games when its latest was taken
  std::string name;      // best.replay's file name, for the title's line
  std::string player;    // who played it
  RecordedGame damaged;  // a game whose track was found departing from it while watched
} best;

// Its final score as its track says; -1 when the track does not say.
int FinalScore(const RecordedGame& game) {
  std::vector<ShipPoint> track;
  if (!DecodeShipTrack(game.track, track) || track.empty()) return -1;
  return track.back().score;
}

void Take(const RecordedGame& game, const std::string& player) {
  best.game = game;
  best.player = player;
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
    Take(*game, PlayerName());
  }
}

}  // namespace

void UseBestReplay(const std::string& path) {
  best = Best{};
  RecordedBestGame(&best.taken);
  best.name = path.empty() ? "best.replay" : path.substr(path.find_last_of('/') + 1);
  const PathKind kind = path.empty() ? PathKind::kNothing : KindOfPath(path);
  if (kind == PathKind::kNothing) return;
  // A FIFO or a device is never read: one held open by a writer would hold up the start.
  if (kind != PathKind::kFile) {
    best.offer.problem = best.name + " cannot be watched: not a replay";
    std::fprintf(stderr, "zumbrix: %s: not a regular file; left as it is\n", path.c_str());
    return;
  }
  ReplayJournal journal;
  const ReplayError error = LoadReplay(path, journal);
  if (error == ReplayError::kNone && journal.games.size() == 1) {
    Take(journal.games[0], journal.player);
    return;
  }
  const bool refused = error != ReplayError::kNone;
  best.offer.problem =
      best.name + " cannot be watched: " + (refused ? ShortReason(error) : "damaged");
  std::fprintf(stderr, "zumbrix: %s: %s\n", path.c_str(),
               refused ? ReplayErrorText(error).c_str() : "the replay does not hold one game");
}

void SetBestGameDamaged() {
  best.damaged = std::move(best.game);
  best.game = RecordedGame{};
  best.track.clear();
  best.offer = BestGameOffer{};
  best.offer.problem = best.name + " cannot be watched: damaged";
}

bool KeepBestGame(const std::string& path, const ReplayJournal& game) {
  if (path.empty() || !WritesPlayerFiles() || game.games.size() != 1) return true;
  const PathKind kind = KindOfPath(path);
  if (kind != PathKind::kNothing && kind != PathKind::kFile) {
    std::fprintf(stderr, "zumbrix: %s: not a regular file; the best game is not saved over it\n",
                 path.c_str());
    return false;
  }
  // The file as it is now: another copy of the game may have saved a better game meanwhile. One
  // that cannot be read, or was found damaged, holds no game to keep.
  ReplayJournal now;
  if (LoadReplay(path, now) == ReplayError::kNone && now.games.size() == 1 &&
      !(now.games[0] == best.damaged) && FinalScore(now.games[0]) >= FinalScore(game.games[0])) {
    return true;
  }
  return SaveReplay(path, game);
}

const BestGameOffer& OfferedBestGame() {
  Refresh();
  return best.offer;
}

const RecordedGame* BestGameToWatch() {
  Refresh();
  return best.offer.watchable ? &best.game : nullptr;
}

const std::string& BestGamePlayer() {
  Refresh();
  return best.player;
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
  return line + "  V = Video";
}
