// sound_control.cpp - the music track of the current game state and the sound effects, at the
// volumes the pause screen steps. Needs the audio layer and the music streamer.
#include "game/sound_control.h"

#include "game/globals.h"
#include "game/music_stream.h"

namespace {

const char* const kTrackFiles[4] = {"data/techno1.ogg", "data/techno4.ogg", "data/techno2.ogg",
                                    "data/techno3.ogg"};

}  // namespace

void playmusic(int track) {
  if (track < 0 || track > 3) return;
  // Loaded afresh each time, so every start plays the track from its beginning.
  Ref<TSound> music = LoadMusicTrack(kTrackFiles[track]);
  musicchannel = music ? PrepareSound(music, nullptr) : nullptr;
  ChannelVolume(musicchannel, musicvol);
  UnpauseChannel(musicchannel);
}

void playsfx(const Ref<TSound>& sound) {
  if (!sound) return;
  Ref<TChannel> channel = PrepareSound(sound, nullptr);
  ChannelVolume(channel, sfxvol);
  UnpauseChannel(channel);
}

void stepmusicvolume() {
  musicstep += 1;
  musicvol += 0.1f;
  if (musicstep > 10) {
    musicstep = 0;
    musicvol = 0.0f;
  }
  ChannelVolume(musicchannel, musicvol);
}

void stepsfxvolume() {
  sfxstep += 1;
  sfxvol += 0.1f;
  if (sfxstep > 10) {
    sfxstep = 0;
    sfxvol = 0.0f;
  }
  playsfx(snd_shot);
}
