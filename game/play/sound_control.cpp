// sound_control.cpp - the music track of the current game state and the sound effects, at the
// volumes the pause screen steps for this run (never saved). Needs the audio layer, the music
// streamer and the data folder (game_files.h).
#include "game/play/sound_control.h"

#include "game/config/game_files.h"
#include "game/play/globals.h"
#include "game/play/music_stream.h"
#include "system/clock.h"
#include "system/polled_input.h"

namespace {

const char* const kTrackFiles[4] = {"techno1.ogg", "techno4.ogg", "techno2.ogg", "techno3.ogg"};

// Apart from the game's state: whether sounds are silenced for frames the viewer of a replay does
// not hear, and the track the music channel was last given. Set by the replay viewer and seeks.
struct Silence {
  bool on = false;
  int track = -1;
} silence;

}  // namespace

void PrepareMusic() {
  // The title's track first: it starts with the splash screen.
  PrepareMusicTracks({DataFile(kTrackFiles[3]), DataFile(kTrackFiles[0]), DataFile(kTrackFiles[1]),
                      DataFile(kTrackFiles[2])});
}

void playmusic(int track) {
  if (track < 0 || track > 3 || silence.on) return;
  silence.track = track;
  // Loaded afresh each time, so every start plays the track from its beginning.
  Ref<TSound> music = LoadMusicTrack(DataFile(kTrackFiles[track]));
  program.musicchannel = music ? PrepareSound(music, nullptr) : nullptr;
  ChannelVolume(program.musicchannel, program.musicvol);
  UnpauseChannel(program.musicchannel);
}

void playsfx(const Ref<TSound>& sound) {
  if (!sound || silence.on) return;
  Ref<TChannel> channel = PrepareSound(sound, nullptr);
  ChannelVolume(channel, program.sfxvol);
  UnpauseChannel(channel);
}

void stepmusicvolume() {
  program.musicstep += 1;
  program.musicvol += 0.1f;
  if (program.musicstep > 10) {
    program.musicstep = 0;
    program.musicvol = 0.0f;
  }
  ChannelVolume(program.musicchannel, program.musicvol);
}

void stepsfxvolume() {
  program.sfxstep += 1;
  program.sfxvol += 0.1f;
  if (program.sfxstep > 10) {
    program.sfxstep = 0;
    program.sfxvol = 0.0f;
  }
  playsfx(assets.snd_shot);
}

void StartPhaseMusic() {
  HaltChannel(program.musicchannel);
  playmusic(progress.phase);
}

void waitwhilesuspended() {
  if (!IsAppSuspended()) return;
  HoldChannel(program.musicchannel);
  while (IsAppSuspended()) {
    if (AppCloseRequested()) {
      program.quitflag = 1;
      break;
    }
    PauseMillis(10);
  }
  UnpauseChannel(program.musicchannel);
}

void SilenceGameSound(bool silent) {
  if (silent == silence.on) return;
  silence.on = silent;
  if (silent) HoldChannel(program.musicchannel);
}

bool GameSoundSilenced() { return silence.on; }

int MusicTrackOfState() {
  if (game_mode.titlemode == 1) return 3;
  if (game_mode.gameover == 1 || game_mode.waveend == 1) return -1;
  if (game_mode.getready == 1 && game_mode.seqctr < 1) return -1;
  return progress.phase == 2 ? 2 : progress.phase == 1 ? 1 : 0;
}

void ResumeMusicOfState() {
  SilenceGameSound(false);
  const int track = MusicTrackOfState();
  if (track >= 0 && track == silence.track && IsChannelPlaying(program.musicchannel)) {
    UnpauseChannel(program.musicchannel);
    return;
  }
  HaltChannel(program.musicchannel);
  program.musicchannel = nullptr;
  silence.track = -1;
  playmusic(track);
}
