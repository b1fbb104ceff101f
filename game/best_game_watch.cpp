// best_game_watch.cpp - the watching loop: the state and the player's settings put aside, the
// best game played through the frame loop, everything put back.
#include "game/best_game_watch.h"

#include <cstdio>
#include <utility>

#include "game/config/colour_mode.h"
#include "game/config/game_files.h"
#include "game/config/settings_store.h"
#include "game/frame_loop.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/screen_name.h"
#include "game/play/sound_control.h"
#include "game/replay/best_game.h"
#include "game/replay/ghost.h"
#include "game/replay/replay_snapshot.h"
#include "system/polled_input.h"

namespace {

// Apart from the game's state: how the last watching ended, for the title to tell. Set by each
// WatchBestGame.
BestGameWatch last;

// What the recorded game may change that the snapshot does not hold: the volumes it stepped and
// the colour mode it switched in its pauses, and the settings those switches touch.
struct PlayerChoices {
  int musicstep = 0, sfxstep = 0;
  float musicvol = 0, sfxvol = 0;
  ColourMode colours = ColourMode::Anaglyph;
  SettingsMark settings;
};

PlayerChoices TakePlayerChoices() {
  return {program.musicstep, program.sfxstep, program.musicvol,
          program.sfxvol,    GetColourMode(), MarkSettings()};
}

void PutBack(const PlayerChoices& choices) {
  program.musicstep = choices.musicstep;
  program.sfxstep = choices.sfxstep;
  program.musicvol = choices.musicvol;
  program.sfxvol = choices.sfxvol;
  if (GetColourMode() != choices.colours) SetColourMode(choices.colours);
  ReturnToSettings(choices.settings);
}

// The loop shared by every watching: `journal` played through the frame loop on `screen`.
BestGameWatch Watch(ReplayJournal journal, ModalScreen screen, const std::string& title,
                    int score) {
  BestGameWatch result;
  result.watched = true;
  const ReplayJournal kept_journal = journal;
  {
    const ModalScreenScope scope(screen);
    const PlayerFilesKept kept;
    const bool paused = PauseRecording();
    const std::vector<std::uint8_t> titlestate = TakeGameSnapshot();
    const PlayerChoices choices = TakePlayerChoices();
    const int quit = program.quitflag;

    StartReplay(std::move(journal), ReplayUse::kWatch);
    SetReplayCaption(title, score < 0 ? 0 : score);
    for (;;) {
      const bool goes_on = gameframe();
      if (!goes_on || CurrentReplayStatus() != ReplayStatus::kPlaying || ReplayFramesDone()) break;
    }
    result.status = CurrentReplayStatus();
    result.stopped = result.status == ReplayStatus::kStopped;
    const ReplayStopper stopper = ReplayStoppedBy();
    result.race = result.stopped && (stopper.key == kRaceKey || stopper.button == kRaceButton);
    result.score = playfield.player->score;
    result.frames = ReplayFramesPlayed();
    if (result.status == ReplayStatus::kDiverged || result.status == ReplayStatus::kEnded) {
      result.problem = ReplayDivergence();
      std::fprintf(stderr, "zumbrix: %s: %s\n", title.c_str(), result.problem.c_str());
    }
    const bool closed = ReplayHeardClose();
    StopReplay();

    HaltChannel(program.musicchannel);
    RestoreGameSnapshot(titlestate);
    PutBack(choices);
    program.quitflag = closed ? 1 : quit;
    ClearKeys();
    ClearMouse();
    playmusic(3);
    if (paused) ResumeRecording();
  }
  if (result.race) {
    const RecordedGame* raced = RacedGame(kept_journal);
    result.race = raced && RaceGhost(*raced, kept_journal.player);
  }
  return result;
}

}  // namespace

BestGameWatch WatchBestGame() {
  const RecordedGame* game = BestGameToWatch();
  if (!game || !playfield.player || CurrentModalScreen() != ModalScreen::None) return {};
  ReplayJournal journal;
  journal.player = BestGamePlayer();
  journal.games.push_back(*game);
  last = Watch(std::move(journal), ModalScreen::BestGame, "Best game", OfferedBestGame().score);
  return last;
}

BestGameWatch WatchReplay(ReplayJournal journal, const std::string& title) {
  const ModalScreen screen = CurrentModalScreen();
  if (journal.games.empty() || !playfield.player ||
      (screen != ModalScreen::None && screen != ModalScreen::HallOfFame)) {
    return {};
  }
  const int score = journal.games.front().score;
  last = Watch(std::move(journal), ModalScreen::Replay, title, score);
  return last;
}

BestGameWatch WatchReplayFile(const std::string& path) {
  ReplayJournal journal;
  const ReplayError error = LoadReplay(path, journal);
  if (error != ReplayError::kNone) {
    std::fprintf(stderr, "zumbrix: %s: %s\n", path.c_str(), ReplayErrorText(error).c_str());
    return {};
  }
  if (journal.games.empty()) {
    std::fprintf(stderr, "zumbrix: %s: the replay holds no game\n", path.c_str());
    return {};
  }
  const std::string title = journal.player.empty() ? "Replay" : journal.player;
  return WatchReplay(std::move(journal), title);
}

const BestGameWatch& LastBestGameWatch() { return last; }
