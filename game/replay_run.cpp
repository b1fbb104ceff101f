// replay_run.cpp - recording and replaying whole games around the start-up and the frame loop.
#include "game/replay_run.h"

#include <cstdlib>
#include <limits>
#include <random>

#include "core/app.h"
#include "core/random.h"
#include "game/entities.h"
#include "game/frame_loop.h"
#include "game/globals.h"
#include "game/graphics_choice.h"
#include "game/music_stream.h"
#include "game/replay.h"
#include "game/scores.h"
#include "game/settings_store.h"
#include "game/startup.h"
#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "platform/clock.h"
#include "system/polled_input.h"

namespace {

// The divergence, on screen, until the player dismisses it (the platform's input is back).
void ShowDivergence(const std::string& message) {
  ClearKeys();
  ClearMouse();
  for (int frame = 0; frame < 600; ++frame) {
    SetClsColor(0, 0, 0);
    Cls();
    SetBlend(BLEND_ALPHA);
    SetColor(255, 255, 255);
    PaintText("The replay stopped:", 16, 200);
    PaintText(message, 16, 224);
    FlipScreen(-1);
    if (AppCloseRequested() || MouseHits(1)) return;
    for (int key = 8; key < 256; ++key) {
      if (KeyHits(key)) return;
    }
  }
}

// The recorded game now running, for a save that cannot wait for its end.
struct RecordedRun {
  std::string path, best_path;
  int best_before = 0;
} recorded;

// The display went away under a recorded game: what the program's exit saves (the best score,
// the replays, the settings), without the music's fade-out and without the display. It runs on
// the main thread, which owns the recording and the game's state.
void SaveAfterLostDisplay() {
  if (!player) return;
  savehiscore();
  const bool new_best = player->hscore > recorded.best_before;
  if (Recording()) {
    NoteCloseRequest();  // the game ends here: so does its replay
    const ReplayJournal journal = StopRecording();
    if (!recorded.path.empty()) SaveReplay(recorded.path, journal);
    if (new_best && !recorded.best_path.empty()) SaveReplay(recorded.best_path, journal);
  }
  SaveSettings();
}

}  // namespace

std::string GameRunResult::Summary() const {
  return "score " + std::to_string(score) + " frames " + std::to_string(frames);
}

std::int32_t NewReplaySeed() {
  std::random_device entropy;
  return static_cast<std::int32_t>(entropy() & 0x7FFFFFFF);
}

GameRunResult RecordGame(const std::string& path, std::int32_t seed, const std::string& best_path) {
  GameRunResult result;
  SeedRandom(seed);
  StartRecording(seed);
  // Until start-up has read the stored best, no best is new. The save stays registered to the
  // end: a display lost during the exit's own saving still gets them done.
  recorded = RecordedRun{path, best_path, std::numeric_limits<int>::max()};
  OnDisplayLost(SaveAfterLostDisplay);
  gamestartup();
  // In place of the clock's seed: the replay must draw the same numbers.
  SeedRandom(seed);
  const int best_before = player ? player->hscore : 0;
  RecordStartingBest(best_before);
  recorded.best_before = best_before;
  while (gameframe()) {
  }
  ReplayJournal journal = StopRecording();
  result.score = player->score;
  result.frames = static_cast<int>(journal.frames.size());
  result.new_best = player->hscore > best_before;
  gameshutdown();
  if (!path.empty() && !SaveReplay(path, journal)) {
    result.message = "the replay could not be saved to " + path;
  }
  if (result.new_best && !best_path.empty()) SaveReplay(best_path, journal);
  return result;
}

GameRunResult ReplayGame(const std::string& path, bool headless) {
  GameRunResult result;
  ReplayJournal journal;
  const ReplayError error = LoadReplay(path, journal);
  if (error != ReplayError::kNone) {
    result.exit = ReplayExit::kRefused;
    result.message = path + ": " + ReplayErrorText(error);
    return result;
  }
  if (headless) {
    ChooseGameGraphics(GraphicsChoice::kNull);
    plat_use_virtual_clock(true);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
  }
  SeedRandom(journal.seed);
  StartReplay(journal);
  gamestartup();
  SeedRandom(journal.seed);
  // The recording's best score, not this player's: the HUD and the jingle follow it.
  if (player) player->hscore = journal.best;
  while (CurrentReplayStatus() == ReplayStatus::kPlaying && gameframe()) {
  }
  const ReplayStatus status = CurrentReplayStatus();
  result.frames = ReplayFramesPlayed();
  result.score = player ? player->score : 0;
  if (status == ReplayStatus::kDiverged) {
    result.exit = ReplayExit::kDiverged;
    result.message = ReplayDivergence();
  } else if (status == ReplayStatus::kEnded) {
    result.exit = ReplayExit::kDiverged;
    result.message = "replay diverged at frame " + std::to_string(result.frames + 1) + " (" +
                     GameTimeText(result.frames + 1) +
                     " into the game): the game went on after the recording ended";
  } else if (!ReplayFramesDone()) {
    result.exit = ReplayExit::kDiverged;
    result.message = "replay diverged at frame " + std::to_string(result.frames + 1) + " (" +
                     GameTimeText(result.frames + 1) +
                     " into the game): the game ended before the recording did";
  }
  StopReplay();
  // The replayed game's best score is not the player's: nothing is saved.
  HaltChannel(musicchannel);
  StopMusicStreams();
  if (result.exit == ReplayExit::kDiverged && !headless) ShowDivergence(result.message);
  return result;
}
