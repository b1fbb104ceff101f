// best_game_watch.cpp - the watching loop: the state and the player's settings put aside, the
// best game played through the frame loop along its ship track, everything put back.
#include "game/watch/best_game_watch.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "game/config/colour_mode.h"
#include "game/config/game_files.h"
#include "game/config/key_bindings.h"
#include "game/config/settings_store.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/practice_game.h"
#include "game/play/screen_name.h"
#include "game/play/sound_control.h"
#include "game/replay/best_game.h"
#include "game/replay/ghost.h"
#include "game/replay/replay_snapshot.h"
#include "game/replay/ship_track.h"
#include "game/watch/replay_viewer.h"
#include "game/watch/take_over.h"
#include "graphics/graphics.h"
#include "system/hook.h"
#include "system/polled_input.h"

namespace {

// Apart from the game's state: how the last watching ended, for the title to tell. Set by each
// WatchBestGame.
BestGameWatch last;

// The replay closes each frame last among the flip's hooks but this one, which reads what it
// played.
constexpr int kAfterTheReplayHook = -1001;

// What the recorded game may change that the snapshot does not hold: the volumes it stepped and
// the colour mode it switched in its pauses, the settings those switches touch, and the keys it
// put in force (its own, and any it chose in its controls screen). And what the exit's saves read
// that the watched game's state holds its own of: the run's best score.
struct PlayerChoices {
  int musicstep = 0, sfxstep = 0;
  float musicvol = 0, sfxvol = 0;
  ColourMode colours = ColourMode::Anaglyph;
  SettingsMark settings;
  InputChoices keys;
  int hscore = 0;
  bool writes = true;  // the run writes the player's files
};

// While the best game is watched, what it put aside, for saves that cannot wait for its end;
// null otherwise.
const PlayerChoices* aside = nullptr;

PlayerChoices TakePlayerChoices() {
  return {program.musicstep,    program.sfxstep,          program.musicvol,
          program.sfxvol,       GetColourMode(),          MarkSettings(),
          ActiveInputChoices(), playfield.player->hscore, WritesPlayerFiles()};
}

// What the saves read, and nothing that draws or sounds.
void PutBackForSaves(const PlayerChoices& choices) {
  ReturnToSettings(choices.settings);
  UseInputChoices(choices.keys);
  playfield.player->hscore = choices.hscore;
}

// The player's own volumes, colours, settings and keys: all but the best score.
void PutBackPlayersOwn(const PlayerChoices& choices) {
  program.musicstep = choices.musicstep;
  program.sfxstep = choices.sfxstep;
  program.musicvol = choices.musicvol;
  program.sfxvol = choices.sfxvol;
  if (GetColourMode() != choices.colours) SetColourMode(choices.colours);
  ReturnToSettings(choices.settings);
  UseInputChoices(choices.keys);
}

void PutBack(const PlayerChoices& choices) {
  PutBackPlayersOwn(choices);
  playfield.player->hscore = choices.hscore;
}

// The best game's track held against its play, apart from the game's state: it reads the play
// and steers none of it. Set by each watching.
struct TrackCheck {
  std::vector<ShipPoint> track;
  std::size_t points = 0;  // points found where the play was
  bool over = true;        // nothing more to compare: the game ended, stopped or departed
  bool sought = false;     // the viewer took the play elsewhere: the rest is not compared
  int frame = 0;           // the replay's frame at the last flip compared or passed
  std::string departure;   // how the track left its game
} along;

// At the end of each flip of the frame loop, after the replay's own: the play as the recorder
// took its point, from the flip that put the game's start back.
TObject* CompareWithTrack(int, TObject* data, TObject*) {
  if (along.over) return data;
  // A held film flips without playing; a seek puts another frame in place than the next.
  const int frame = ReplayFramesPlayed();
  if (frame == along.frame) return data;
  if (frame != along.frame + 1) {
    along.over = along.sought = true;
    return data;
  }
  along.frame = frame;
  if (!FrameLoopFlip()) return data;
  const ReplayStatus status = CurrentReplayStatus();
  // A frame the viewer's key cut short, or one that diverged, is not the recorded game's.
  along.over = status != ReplayStatus::kPlaying;
  if (status != ReplayStatus::kPlaying && status != ReplayStatus::kDone) return data;
  if (along.points >= along.track.size()) {
    along.departure = "the game goes on after its ship track";
  } else if (!(ShipPointNow() == along.track[along.points])) {
    along.departure = "its ship track is not where its game went";
  } else {
    ++along.points;
    return data;
  }
  along.over = true;
  return data;
}

// Plays the watched game as a film to its end, the viewer's key or a departure from its track
// (none to hold it against when `track` is empty).
ViewerEnd PlayAlongTheTrack(const std::vector<ShipPoint>& track) {
  along = TrackCheck{};
  along.track = track;
  along.over = track.empty();
  along.frame = -1;  // the flip that puts the game's start back counts no frame yet
  AttachHook(FlipHookId(), CompareWithTrack, nullptr, kAfterTheReplayHook);
  ViewerOptions film;
  film.keep_on = [] { return along.departure.empty(); };
  film.race = true;
  film.take_over = true;
  const ViewerEnd end = ViewReplay(film);
  DetachHook(FlipHookId(), CompareWithTrack);
  if (along.departure.empty() && !along.sought && !track.empty() && ReplayFramesDone() &&
      along.points < track.size()) {
    along.departure = "its ship track goes on after its game";
  }
  return end;
}

// The loop shared by every watching: `journal` played through the frame loop on `screen`.
BestGameWatch Watch(ReplayJournal journal, ModalScreen screen, const std::string& title, int score,
                    const std::vector<ShipPoint>& track) {
  BestGameWatch result;
  result.watched = true;
  const ReplayJournal kept_journal = journal;
  {
    const ModalScreenScope scope(screen);
    const bool paused = PauseRecording();
    const std::vector<std::uint8_t> title_state = TakeGameSnapshot();
    const PlayerChoices choices = TakePlayerChoices();
    const PlayerFilesKept kept;
    const int quit = program.quitflag;

    aside = &choices;
    StartReplay(std::move(journal), ReplayUse::kWatch);
    SetReplayCaption(title, score < 0 ? 0 : score);
    const ViewerEnd end = PlayAlongTheTrack(track);
    result.status = CurrentReplayStatus();
    result.stopped = result.status == ReplayStatus::kStopped;
    result.race = end == ViewerEnd::kRace;
    result.score = playfield.player->score;
    result.frames = ReplayFramesPlayed();
    if (!along.departure.empty()) {
      result.damaged = true;
      result.problem = "replay damaged at frame " + std::to_string(along.points) + " (" +
                       GameTimeText(static_cast<int>(along.points)) +
                       " into the game): " + along.departure;
    } else if (result.status == ReplayStatus::kDiverged || result.status == ReplayStatus::kEnded) {
      result.problem = ReplayDivergence();
    }
    if (!result.problem.empty()) {
      const std::string whose = screen == ModalScreen::BestGame ? "the best game" : title;
      std::fprintf(stderr, "zumbrix: %s: %s\n", whose.c_str(), result.problem.c_str());
    }
    bool closed = ReplayHeardClose();
    PlayerChoices back = choices;
    if (end == ViewerEnd::kTakeOver) {
      // The player plays with their own choices; the volumes they step in play stay theirs.
      result.practised = true;
      PutBackPlayersOwn(choices);
      closed = !PlayPractice(choices.keys, paused);
      result.practice_score = playfield.player->score;
      back.musicstep = program.musicstep;
      back.sfxstep = program.sfxstep;
      back.musicvol = program.musicvol;
      back.sfxvol = program.sfxvol;
    }
    StopReplay();

    HaltChannel(program.musicchannel);
    // A practice game the program's end cut short is still recorded: its state stays for the
    // run's end to keep, and only what the exit's saves read is put back.
    if (!(result.practised && closed)) RestoreGameSnapshot(title_state);
    SetPracticeGame(false);
    PutBack(back);
    program.quitflag = closed ? 1 : quit;
    ClearKeys();
    ClearMouse();
    playmusic(3);
    aside = nullptr;
    if (paused) ResumeRecording();
  }
  if (result.damaged) SetBestGameDamaged();
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
  last = Watch(std::move(journal), ModalScreen::BestGame, "Best game", OfferedBestGame().score,
               BestGameTrack());
  return last;
}

BestGameWatch WatchReplay(ReplayJournal journal, const std::string& title) {
  const ModalScreen screen = CurrentModalScreen();
  if (journal.games.empty() || !playfield.player ||
      (screen != ModalScreen::None && screen != ModalScreen::HallOfFame)) {
    return {};
  }
  const int score = journal.games.front().score;
  last = Watch(std::move(journal), ModalScreen::Replay, title, score, {});
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
  // The side bar names the player on the line below its title.
  return WatchReplay(std::move(journal), "Replay");
}

void PutBackWatchedForSaves() {
  if (!aside) return;
  PutBackForSaves(*aside);
  SetWritesPlayerFiles(aside->writes);
  aside = nullptr;
}

const BestGameWatch& LastBestGameWatch() { return last; }
