// replay_run.cpp - recording and replaying whole runs around the start-up and the frame loop.
#include "game/replay_run.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/app.h"
#include "game/config/game_files.h"
#include "game/config/graphics_choice.h"
#include "game/config/player_name.h"
#include "game/config/settings_store.h"
#include "game/frame_loop.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/music_stream.h"
#include "game/play/practice_game.h"
#include "game/play/scores.h"
#include "game/play/screen_name.h"
#include "game/replay/best_game.h"
#include "game/replay/hall_of_fame.h"
#include "game/replay/replay.h"
#include "game/replay/replay_seek.h"
#include "game/startup.h"
#include "game/watch/best_game_watch.h"
#include "game/watch/replay_viewer.h"
#include "game/watch/take_over.h"
#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "system/clock.h"
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

// Where the recorded run now going keeps its replays, for a save that cannot wait for its end.
// Apart from the game's state: the paths of the run's recording, set once by the run.
struct ReplayPaths {
  std::string path, best_path, hall;
} saves;

// Each finished game of the player's is offered to the hall of fame at once.
void OfferGame(const RecordedGame& game, const std::string& player) {
  if (WritesPlayerFiles() && !saves.hall.empty()) OfferToHallOfFame(saves.hall, player, game);
}

// The display went away under a recorded run: what the program's exit saves (the best score,
// the replays, the settings), without the music's fade-out and without the display. It runs on
// the main thread, which owns the recording and the game's state.
bool SaveAfterLostDisplay() {
  if (!playfield.player) return true;
  PutBackWatchedForSaves();
  bool saved = savehiscore();
  if (Recording()) {
    NoteCloseRequest();  // the game ends here: so does its replay
    const RecordedRun run = StopRecording();
    if (!saves.path.empty()) saved = SaveReplay(saves.path, run.journal) && saved;
    if (run.bestgame >= 0) saved = KeepBestGame(saves.best_path, run.BestGame()) && saved;
  }
  return SaveSettings() && saved;
}

// A replay in a window taken over: its practice game, then the title with the player's keys and
// best score until the player quits. A game started there is practice too: the run writes none of
// the player's files, and a best no one keeps would only mislead.
void PlayTakenOver(GameRunResult& result, const InputChoices& keys) {
  result.frames = ReplayFramesPlayed();
  result.score = playfield.player->score;
  result.stopped = true;
  result.message = "the replay was taken over " + ReplayPlace();
  {
    const ModalScreenScope own(ModalScreen::None);
    if (PlayPractice(keys, false)) {
      loadhiscore();
      while (gameframe()) {
      }
    }
  }
  SetPracticeGame(false);
  HaltChannel(program.musicchannel);
  StopMusicStreams();
}

}  // namespace

std::string GameRunResult::Summary() const {
  return "score " + std::to_string(score) + " frames " + std::to_string(frames);
}

GameRunResult RecordGame(const std::string& path, std::int32_t seed, const std::string& best_path) {
  GameRunResult result;
  // Without a file of its own, the run keeps only what best.replay may need.
  StartRecording(path.empty() ? RecordingKeeps::kBestGame : RecordingKeeps::kEveryGame);
  // The save stays registered to the end: a display lost during the exit's own saving still
  // gets them done.
  saves =
      ReplayPaths{path, best_path, best_path.empty() ? std::string() : HallOfFameFolder(best_path)};
  OnDisplayLost(SaveAfterLostDisplay);
  UseBestReplay(best_path);
  if (WritesPlayerFiles() && !saves.hall.empty()) {
    ImportBestGame(saves.hall, best_path, PlayerName());
  }
  UseHallOfFame(saves.hall);
  OnGameRecorded(OfferGame);
  gamestartup(seed);
  while (gameframe()) {
  }
  const RecordedRun run = StopRecording();
  OnGameRecorded(nullptr);
  result.score = playfield.player->score;
  result.games = static_cast<int>(run.journal.games.size());
  for (const RecordedGame& game : run.journal.games) result.frames += static_cast<int>(game.frames);
  result.new_best = run.bestgame >= 0;
  gameshutdown();
  if (!path.empty() && !SaveReplay(path, run.journal)) {
    result.message = "the replay could not be saved to " + path;
  }
  if (result.new_best) KeepBestGame(best_path, run.BestGame());
  return result;
}

GameRunResult ReplayGame(const std::string& path, bool headless, bool drawn, int from) {
  GameRunResult result;
  const InputChoices keys = ActiveInputChoices();
  {
    ReplayJournal journal;
    const ReplayError error = LoadReplay(path, journal);
    if (error != ReplayError::kNone) {
      result.exit = ReplayExit::kRefused;
      result.message = path + ": " + ReplayErrorText(error);
      return result;
    }
    result.games = static_cast<int>(journal.games.size());
    if (journal.games.empty()) {
      result.exit = ReplayExit::kRefused;
      result.message = path + ": the replay holds no game";
      return result;
    }
    StartReplay(std::move(journal));
  }
  const PlayerFilesKept kept;
  if (headless) {
    ChooseGameGraphics(drawn ? GraphicsChoice::kOpenGL : GraphicsChoice::kNull);
    UseVirtualClock(true);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    // Mesa draws into memory: no display is needed, and none is opened when there is one.
    if (drawn) ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
  }
  gamestartup();
  if (headless) {
    if (from > 0) SeekReplay(from, gameframe);
    while (CurrentReplayStatus() == ReplayStatus::kPlaying && gameframe()) {
    }
  } else {
    ViewerOptions view;
    view.from = std::max(from, 0);
    view.end_at_frames = false;  // the last game's tail plays as it did
    view.take_over = true;
    if (ViewReplay(view) == ViewerEnd::kTakeOver) {
      PlayTakenOver(result, keys);
      return result;
    }
  }
  const ReplayStatus status = CurrentReplayStatus();
  result.frames = ReplayFramesPlayed();
  result.score = playfield.player ? playfield.player->score : 0;
  if (status == ReplayStatus::kDiverged || status == ReplayStatus::kEnded) {
    result.exit = ReplayExit::kDiverged;
    result.message = ReplayDivergence();
  } else if (status == ReplayStatus::kStopped) {
    result.stopped = true;
    result.message = "the replay was stopped " + ReplayPlace();
  } else if (!ReplayFramesDone()) {
    result.exit = ReplayExit::kDiverged;
    result.message =
        "replay diverged " + ReplayPlace() + ": the game ended before the recording did";
  }
  StopReplay();
  HaltChannel(program.musicchannel);
  StopMusicStreams();
  if (result.exit == ReplayExit::kDiverged && !headless) ShowDivergence(result.message);
  return result;
}
