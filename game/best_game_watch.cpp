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

}  // namespace

BestGameWatch WatchBestGame() {
  BestGameWatch result;
  const RecordedGame* game = BestGameToWatch();
  if (!game || !playfield.player || CurrentModalScreen() != ModalScreen::None) return result;
  result.watched = true;
  ReplayJournal journal;
  journal.games.push_back(*game);
  const int score = OfferedBestGame().score;
  {
    const ModalScreenScope screen(ModalScreen::BestGame);
    const PlayerFilesKept kept;
    const bool paused = PauseRecording();
    const std::vector<std::uint8_t> title = TakeGameSnapshot();
    const PlayerChoices choices = TakePlayerChoices();
    const int quit = program.quitflag;

    StartReplay(std::move(journal), ReplayUse::kWatch);
    SetReplayCaptionScore(score < 0 ? 0 : score);
    for (;;) {
      const bool goes_on = gameframe();
      if (!goes_on || CurrentReplayStatus() != ReplayStatus::kPlaying || ReplayFramesDone()) break;
    }
    result.status = CurrentReplayStatus();
    result.stopped = result.status == ReplayStatus::kStopped;
    result.score = playfield.player->score;
    result.frames = ReplayFramesPlayed();
    if (result.status == ReplayStatus::kDiverged || result.status == ReplayStatus::kEnded) {
      result.problem = ReplayDivergence();
      std::fprintf(stderr, "zumbrix: the best game: %s\n", result.problem.c_str());
    }
    const bool closed = ReplayHeardClose();
    StopReplay();

    HaltChannel(program.musicchannel);
    RestoreGameSnapshot(title);
    PutBack(choices);
    program.quitflag = closed ? 1 : quit;
    ClearKeys();
    ClearMouse();
    playmusic(3);
    if (paused) ResumeRecording();
  }
  last = result;
  return result;
}

const BestGameWatch& LastBestGameWatch() { return last; }
