// ghost.cpp - counting a game's moments and drawing the best game's ship at each.
#include "game/replay/ghost.h"

#include <cstdlib>

#include "game/config/settings_store.h"
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/screen_name.h"
#include "game/replay/best_game.h"
#include "graphics/draw2d.h"

namespace {

constexpr float kGhostAlpha = 0.35f;
constexpr float kHyperAlpha = 0.2f;  // the ship's own in hyperspace

// The ghost's own state, apart from the game's: it is drawn beside play and never steers it.
// Its track is given anew for each game.
struct Ghost {
  bool title_seen = true;  // the last flip counted showed the title
  bool in_game = false;
  std::size_t moment = 0;  // flips of the frame loop since the game's start
  std::vector<ShipPoint> track;
  std::vector<ShipPoint> given;  // UseGhostTrack's or RaceGhost's
  std::string given_name;        // RaceGhost's player
  bool raced = false;            // RaceGhost's: shown whatever the setting says
  std::string name;              // the player of the game flown now
} ghost;

bool GhostOn() { return RunSettings().ghost || ghost.raced; }

}  // namespace

void CountGhostFrame() {
  if (WatchingRecordedGame()) return;
  const bool title = game_mode.titlemode == 1;
  if (ghost.in_game) {
    if (title) {
      ghost.in_game = false;
    } else {
      ++ghost.moment;
    }
  } else if (!title && ghost.title_seen) {
    ghost.in_game = true;
    ghost.moment = 0;
    ghost.track = ghost.given.empty() ? BestGameTrack() : ghost.given;
    ghost.name = ghost.given.empty() ? BestGamePlayer() : ghost.given_name;
  }
  ghost.title_seen = title;
}

std::optional<ShipPoint> GhostPoint() {
  if (!GhostOn() || !ghost.in_game || game_mode.titlemode == 1) return std::nullopt;
  if (WatchingRecordedGame()) return std::nullopt;
  if (ghost.moment >= ghost.track.size() || !ghost.track[ghost.moment].shown) return std::nullopt;
  return ghost.track[ghost.moment];
}

void drawghost() {
  const std::optional<ShipPoint> point = GhostPoint();
  if (!point) return;
  const float alpha = kGhostAlpha * (point->hyper ? kHyperAlpha : 1.0f);
  drawimage3d(assets.shipimg, static_cast<float>(point->x), static_cast<float>(point->y),
              static_cast<int>(ghost.moment % 4), 3.0f, 0, 0.9f, 0.7f, alpha);
  SetAlpha(1.0f);
}

GhostCaptionText GhostCaption() {
  if (!GhostOn() || !ghost.in_game || game_mode.titlemode == 1 || ghost.track.empty()) return {};
  if (WatchingRecordedGame()) return {};
  // After its end the best game stays at its final score.
  const std::size_t at = ghost.moment < ghost.track.size() ? ghost.moment : ghost.track.size() - 1;
  const int theirs = ghost.track[at].score, ours = playfield.player->score;
  GhostCaptionText text{ghost.name.empty() ? "Best game" : ghost.name, std::to_string(theirs),
                        "tied", ""};
  if (ours != theirs) {
    text.lead = ours > theirs ? "ahead" : "behind";
    text.difference = std::to_string(std::abs(static_cast<long long>(ours) - theirs));
  }
  return text;
}

void UseGhostTrack(std::vector<ShipPoint> track) {
  ghost.given = std::move(track);
  ghost.given_name.clear();
  ghost.raced = false;
}

bool RaceGhost(const RecordedGame& game, const std::string& player) {
  std::vector<ShipPoint> track;
  if (!DecodeShipTrack(game.track, track) || track.empty()) return false;
  ghost.given = std::move(track);
  ghost.given_name = player;
  ghost.raced = true;
  return true;
}

const RecordedGame* RacedGame(const ReplayJournal& journal) {
  const RecordedGame* best = nullptr;
  for (const RecordedGame& game : journal.games) {
    if (!game.track.empty() && (!best || game.score > best->score)) best = &game;
  }
  return best;
}
