// razidazir_driver.cpp - the mixer-backed driver, sound and channel: each call maps onto one
// mixer entry point.
#include "audio/razidazir_driver.h"

#include "audio/dsound_device.h"
#include "audio/offline_device.h"
#include "audio/winmm_device.h"

namespace {

// The drivers by mode + 1 (the offline one not registered); they live as long as the program.
constinit TRaziDazirAudioDriver* registered[4] = {};

}  // namespace

TRaziDazirAudioDriver::~TRaziDazirAudioDriver() { Shutdown(); }

Ref<TRaziDazirAudioDriver> TRaziDazirAudioDriver::Create(const std::string& name, int mode) {
  Ref<TRaziDazirAudioDriver> d = New<TRaziDazirAudioDriver>();
  d->_name = name;
  d->_mode = mode;
  return d;
}

bool TRaziDazirAudioDriver::Start(std::unique_ptr<audiodevice> device) {
  if (mix_init(device.get()) != 0) return false;
  device_ = std::move(device);
  return true;
}

int TRaziDazirAudioDriver::Startup() {
  Shutdown();
  bool started = false;
  if (_mode == MODE_OFFLINE) return Start(std::make_unique<offlinedevice>()) ? 1 : 0;
  if (_mode != MODE_DIRECTSOUND) started = Start(std::make_unique<winmmdevice>());
  if (!started && _mode != MODE_MULTIMEDIA) started = Start(std::make_unique<dsounddevice>());
  return started ? 1 : 0;
}

void TRaziDazirAudioDriver::Shutdown() {
  if (!device_) return;
  // The mixer may have moved on to another driver's device meanwhile; that one stays.
  if (mix_current_mixer() == device_->getMixer()) mix_close();
  device_->close();
  device_.reset();
}

Ref<TSound> TRaziDazirAudioDriver::CreateSound(const Ref<TAudioSample>& sample, int flags) {
  if (!sample) return nullptr;
  Ref<TAudioSample> pcm = sample;
  if (pcm->format == SAMPLE_MONO16BE) pcm = pcm->Convert(SAMPLE_MONO16LE);
  if (pcm && pcm->format == SAMPLE_STEREO16BE) pcm = pcm->Convert(SAMPLE_STEREO16LE);
  if (!pcm) return nullptr;
  const int channels = SampleChannels(pcm->format);
  if (channels == 0) return nullptr;
  const int bits = SampleBytesPerFrame(pcm->format) * 8 / channels;
  mix_sample* s = mix_create_sound(pcm->length, bits, channels, pcm->hertz, pcm->samples,
                                   (flags & SOUND_LOOP) ? -1 : 0);
  if (!s) return nullptr;
  return TRaziDazirSound::CreateWithSound(s, sample);
}

Ref<TChannel> TRaziDazirAudioDriver::AllocChannel() {
  const int handle = mix_alloc_channel();
  if (!handle) return nullptr;
  return TRaziDazirChannel::CreateWithChannel(handle);
}

TRaziDazirSound::~TRaziDazirSound() { mix_free_sound(fa_sound); }

Ref<TRaziDazirSound> TRaziDazirSound::CreateWithSound(mix_sample* sound, const Ref<TAudioSample>&) {
  Ref<TRaziDazirSound> s = New<TRaziDazirSound>();
  s->fa_sound = sound;
  return s;
}

Ref<TChannel> TRaziDazirSound::Play(const Ref<TChannel>& channel) { return Start(channel, 0); }
Ref<TChannel> TRaziDazirSound::Cue(const Ref<TChannel>& channel) { return Start(channel, 1); }

Ref<TChannel> TRaziDazirSound::Start(const Ref<TChannel>& channel, int paused) {
  int handle = 0;
  Ref<TRaziDazirChannel> own;
  if (channel) {
    own = Cast<TRaziDazirChannel>(channel);
    if (!own) return nullptr;
    handle = own->fa_channel;
  }
  const int played = mix_play(fa_sound, paused, handle);
  if (!played) return nullptr;
  if (own && played == handle) return own;
  return TRaziDazirChannel::CreateWithChannel(played);
}

TRaziDazirChannel::~TRaziDazirChannel() { mix_free_channel(fa_channel); }

Ref<TRaziDazirChannel> TRaziDazirChannel::CreateWithChannel(int handle) {
  Ref<TRaziDazirChannel> c = New<TRaziDazirChannel>();
  c->fa_channel = handle;
  return c;
}

void TRaziDazirChannel::Stop() {
  mix_stop_channel(fa_channel);
  fa_channel = 0;
}

void TRaziDazirChannel::SetPaused(int paused) { mix_set_paused(fa_channel, paused); }
void TRaziDazirChannel::SetVolume(float volume) { mix_set_volume(fa_channel, volume); }
void TRaziDazirChannel::SetPan(float pan) { mix_set_pan(fa_channel, pan); }
void TRaziDazirChannel::SetDepth(float depth) { mix_set_depth(fa_channel, depth); }
void TRaziDazirChannel::SetRate(float rate) { mix_set_rate(fa_channel, rate); }
std::int64_t TRaziDazirChannel::Position() { return mix_channel_position(fa_channel); }

int TRaziDazirChannel::Playing() {
  const int status = mix_channel_status(fa_channel);
  return status != 0 && !(status & sound::kIdle) && !(status & sound::kPaused) ? 1 : 0;
}

void RegisterRaziDazirDrivers() {
  const auto add = [](const char* name, int mode) {
    registered[mode + 1] = TRaziDazirAudioDriver::Create(name, mode).detach();
  };
  add("RaziDazir DirectSound", TRaziDazirAudioDriver::MODE_DIRECTSOUND);
  add("RaziDazir Multimedia", TRaziDazirAudioDriver::MODE_MULTIMEDIA);
  add("RaziDazir", TRaziDazirAudioDriver::MODE_FALLBACK);
  add("RaziDazir Offline", TRaziDazirAudioDriver::MODE_OFFLINE);
  UnlistAudioDriver(registered[TRaziDazirAudioDriver::MODE_OFFLINE + 1]);
}

TRaziDazirAudioDriver* RaziDazirDriver(int mode) {
  RegisterAudioDrivers();
  return mode >= -1 && mode <= 2 ? registered[mode + 1] : nullptr;
}
