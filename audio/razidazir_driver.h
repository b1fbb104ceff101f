// razidazir_driver.h - the audio driver over the software mixer and its output devices.
//
// Three drivers are registered: "RaziDazir DirectSound" (the pull-mode device), "RaziDazir
// Multimedia" (the push-mode device) and "RaziDazir", which tries the push-mode device and falls
// back to the pull-mode one. A fourth, "RaziDazir Offline" (audio/offline_device.h), is not
// registered: only a program that pulls the sound itself starts it, by its mode. Sounds hold a
// mixer sample; channels hold a mixer channel handle.
#pragma once

#include <memory>
#include <string>

#include "audio/audio_driver.h"
#include "audio/mix_api.h"

class TRaziDazirAudioDriver : public TAudioDriver {
 public:
  enum { MODE_FALLBACK = -1, MODE_MULTIMEDIA = 0, MODE_DIRECTSOUND = 1, MODE_OFFLINE = 2 };

  ~TRaziDazirAudioDriver() override;

  std::string Name() override { return _name; }
  int Startup() override;
  void Shutdown() override;
  Ref<TSound> CreateSound(const Ref<TAudioSample>& sample, int flags) override;
  Ref<TChannel> AllocChannel() override;

  static Ref<TRaziDazirAudioDriver> Create(const std::string& name, int mode);

  std::string _name;
  int _mode = MODE_FALLBACK;

 private:
  bool Start(std::unique_ptr<audiodevice> device);
  std::unique_ptr<audiodevice> device_;
};

class TRaziDazirSound : public TSound {
 public:
  // Gives the mixer sample back.
  ~TRaziDazirSound() override;
  Ref<TChannel> Play(const Ref<TChannel>& channel) override;
  Ref<TChannel> Cue(const Ref<TChannel>& channel) override;

  // Takes over the caller's reference to `sound`; the sample is not kept.
  static Ref<TRaziDazirSound> CreateWithSound(mix_sample* sound, const Ref<TAudioSample>& sample);

  mix_sample* fa_sound = nullptr;

 private:
  Ref<TChannel> Start(const Ref<TChannel>& channel, int paused);
};

class TRaziDazirChannel : public TChannel {
 public:
  // Frees the handle; a voice that is still sounding plays on to its end.
  ~TRaziDazirChannel() override;
  void Stop() override;
  void SetPaused(int paused) override;
  void SetVolume(float volume) override;
  void SetPan(float pan) override;
  void SetDepth(float depth) override;
  void SetRate(float rate) override;
  int Playing() override;
  // Frames played by the current voice.
  std::int64_t Position();

  static Ref<TRaziDazirChannel> CreateWithChannel(int handle);

  int fa_channel = 0;
};

// Registers the three drivers, in the order that puts "RaziDazir" first. Called once, by the
// registry (audio_driver.h).
void RegisterRaziDazirDrivers();
// The driver of `mode` (MODE_FALLBACK, MODE_MULTIMEDIA, MODE_DIRECTSOUND or MODE_OFFLINE), for a
// caller that knows which device it wants and so needs no lookup by name. Game thread.
TRaziDazirAudioDriver* RaziDazirDriver(int mode);
