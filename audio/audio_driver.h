// audio_driver.h - sounds, channels, the exchangeable audio driver, and the functions the game
// calls to play sound.
//
// A driver makes sounds from samples and hands out channels to play them on. Drivers sit in a
// registry, newest first. The game starts the one for its chosen device (sound_output.h);
// otherwise the first audio call starts the one named "RaziDazir" (the software mixer on the
// sound card). When no sound card can be opened the "Null" driver takes over:
// its sounds and channels do nothing, and the program carries on silently. Names compare without
// regard to the case of A-Z. Everything here runs on the game thread.
//
//   Ref<TSound> shot = LoadAudio("data\\shot1.ogg", 0);     // 1: looping
//   Ref<TChannel> ch = PrepareSound(shot, nullptr);          // paused
//   ChannelVolume(ch, 0.5f);
//   UnpauseChannel(ch);
#pragma once

#include <string>
#include <vector>

#include "audio/audio_sample.h"
#include "core/stream.h"

class TChannel : public TObject {
 public:
  virtual void Stop() {}
  virtual void SetPaused(int /*paused*/) {}
  // 1.0 is full level.
  virtual void SetVolume(float /*volume*/) {}
  // -1.0 full left, 0 centre, 1.0 full right.
  virtual void SetPan(float /*pan*/) {}
  // 0 neutral; negative inverts the right output.
  virtual void SetDepth(float /*depth*/) {}
  // 1.0 plays at the sample's own speed.
  virtual void SetRate(float /*rate*/) {}
  virtual int Playing() { return 0; }
};

class TSound : public TObject {
 public:
  // Starts the sound on `channel`, or on a new channel when it is null; null when it cannot play.
  virtual Ref<TChannel> Play(const Ref<TChannel>& channel);
  // As Play, but paused.
  virtual Ref<TChannel> Cue(const Ref<TChannel>& channel);

  // `flags` bit 0 asks for a looping sound; the rest go to the driver. Null when the source
  // cannot be loaded. The first call starts the default driver.
  static Ref<TSound> Load(const std::string& source, int flags);
  static Ref<TSound> Load(const Ref<TStream>& source, int flags);
  static Ref<TSound> Load(const Ref<TAudioSample>& sample, int flags);
};

// The base class is the null driver: it starts, and everything it makes is silent.
class TAudioDriver : public TObject {
 public:
  // Links the driver at the front of the registry.
  TAudioDriver();
  ~TAudioDriver() override;

  virtual std::string Name() { return "Null"; }
  // Non-zero when the driver runs.
  virtual int Startup() { return 1; }
  virtual void Shutdown() {}
  virtual Ref<TSound> CreateSound(const Ref<TAudioSample>& sample, int flags);
  virtual Ref<TChannel> AllocChannel();

  TAudioDriver* _succ = nullptr;
};

enum { SOUND_LOOP = 1 };

Ref<TAudioSample> NewSample(int length, int hertz, int format);
Ref<TAudioSample> WrapSample(void* data, int length, int hertz, int format);
Ref<TSound> LoadAudio(const std::string& source, int flags);
Ref<TSound> LoadAudio(const Ref<TStream>& source, int flags);
Ref<TSound> LoadAudio(const Ref<TAudioSample>& sample, int flags);
Ref<TChannel> StartSound(const Ref<TSound>& sound, const Ref<TChannel>& channel);
Ref<TChannel> PrepareSound(const Ref<TSound>& sound, const Ref<TChannel>& channel);
Ref<TChannel> NewChannel();
// The channel functions do nothing on a null channel; IsChannelPlaying answers 0 for it.
void HaltChannel(const Ref<TChannel>& channel);
int IsChannelPlaying(const Ref<TChannel>& channel);
void ChannelVolume(const Ref<TChannel>& channel, float volume);
void ChannelPan(const Ref<TChannel>& channel, float pan);
void ChannelDepth(const Ref<TChannel>& channel, float depth);
void ChannelRate(const Ref<TChannel>& channel, float rate);
void HoldChannel(const Ref<TChannel>& channel);
void UnpauseChannel(const Ref<TChannel>& channel);

// Makes the null driver and the mixer's drivers, the first time only; every registry function
// below calls it first.
void RegisterAudioDrivers();
// Takes a driver off the list (lookups by name no longer find it); it can still be started in
// hand. Game thread.
void UnlistAudioDriver(TAudioDriver* driver);
// The registered drivers' names, newest first, at most 100.
std::vector<std::string> ListAudioDrivers();
int HasAudioDriver(const std::string& name);
// Shuts the current driver down and starts the named one: 1 when it runs. Otherwise the null
// driver is current afterwards.
int SelectAudioDriver(const std::string& name);
// The same for a driver in hand (a registered or unlisted one, or null for none): no lookup by
// name.
int StartAudioDriver(TAudioDriver* driver);
// The current driver; the first call starts "RaziDazir", or "Null" when that fails (and says so
// on stderr).
TAudioDriver* CurrentAudioDriver();
