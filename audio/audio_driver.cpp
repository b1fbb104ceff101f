// audio_driver.cpp - the null driver, the driver registry and the game's audio functions.
#include "audio/audio_driver.h"

#include <cstdio>
#include <cstdlib>

#include "audio/razidazir_driver.h"
#include "audio/sample_loader.h"
#include "platform/audio_output.h"

namespace {

constinit TAudioDriver* registry = nullptr;
constinit TAudioDriver* current = nullptr;
constinit TAudioDriver* nullDriver = nullptr;

void ShutdownAtExit() {
  if (current) current->Shutdown();
  current = nullptr;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

// The null driver first, then the mixer-backed ones in front of it.
void RegisterAudioDrivers() {
  static const bool done = [] {
    nullDriver = new TAudioDriver;
    nullDriver->Retain();
    RegisterRaziDazirDrivers();
    std::atexit(&ShutdownAtExit);
    return true;
  }();
  (void)done;
}

Ref<TChannel> TSound::Play(const Ref<TChannel>&) { return New<TChannel>(); }
Ref<TChannel> TSound::Cue(const Ref<TChannel>&) { return New<TChannel>(); }

Ref<TSound> TSound::Load(const std::string& source, int flags) {
  return Load(LoadSample(source), flags);
}

Ref<TSound> TSound::Load(const Ref<TStream>& source, int flags) {
  return Load(LoadSample(source), flags);
}

Ref<TSound> TSound::Load(const Ref<TAudioSample>& sample, int flags) {
  if (!sample) return nullptr;
  return CurrentAudioDriver()->CreateSound(sample, flags);
}

TAudioDriver::TAudioDriver() {
  _succ = registry;
  registry = this;
}

TAudioDriver::~TAudioDriver() { UnlistAudioDriver(this); }

void UnlistAudioDriver(TAudioDriver* driver) {
  for (TAudioDriver** p = &registry; *p; p = &(*p)->_succ) {
    if (*p == driver) {
      *p = driver->_succ;
      driver->_succ = nullptr;
      break;
    }
  }
}

Ref<TSound> TAudioDriver::CreateSound(const Ref<TAudioSample>&, int) { return New<TSound>(); }
Ref<TChannel> TAudioDriver::AllocChannel() { return New<TChannel>(); }

Ref<TAudioSample> NewSample(int length, int hertz, int format) {
  return TAudioSample::Create(length, hertz, format);
}

Ref<TAudioSample> WrapSample(void* data, int length, int hertz, int format) {
  return TAudioSample::CreateStatic(data, length, hertz, format);
}

Ref<TSound> LoadAudio(const std::string& source, int flags) { return TSound::Load(source, flags); }
Ref<TSound> LoadAudio(const Ref<TStream>& source, int flags) { return TSound::Load(source, flags); }
Ref<TSound> LoadAudio(const Ref<TAudioSample>& sample, int flags) {
  return TSound::Load(sample, flags);
}

Ref<TChannel> StartSound(const Ref<TSound>& sound, const Ref<TChannel>& channel) {
  return sound ? sound->Play(channel) : nullptr;
}

Ref<TChannel> PrepareSound(const Ref<TSound>& sound, const Ref<TChannel>& channel) {
  return sound ? sound->Cue(channel) : nullptr;
}

Ref<TChannel> NewChannel() { return CurrentAudioDriver()->AllocChannel(); }

void HaltChannel(const Ref<TChannel>& channel) {
  if (channel) channel->Stop();
}

int IsChannelPlaying(const Ref<TChannel>& channel) { return channel ? channel->Playing() : 0; }

void ChannelVolume(const Ref<TChannel>& channel, float volume) {
  if (channel) channel->SetVolume(volume);
}

void ChannelPan(const Ref<TChannel>& channel, float pan) {
  if (channel) channel->SetPan(pan);
}

void ChannelDepth(const Ref<TChannel>& channel, float depth) {
  if (channel) channel->SetDepth(depth);
}

void ChannelRate(const Ref<TChannel>& channel, float rate) {
  if (channel) channel->SetRate(rate);
}

void HoldChannel(const Ref<TChannel>& channel) {
  if (channel) channel->SetPaused(1);
}

void UnpauseChannel(const Ref<TChannel>& channel) {
  if (channel) channel->SetPaused(0);
}

std::vector<std::string> ListAudioDrivers() {
  RegisterAudioDrivers();
  std::vector<std::string> names;
  for (TAudioDriver* d = registry; d && names.size() < 100; d = d->_succ) {
    names.push_back(d->Name());
  }
  return names;
}

int HasAudioDriver(const std::string& name) {
  RegisterAudioDrivers();
  const std::string wanted = Lower(name);
  for (TAudioDriver* d = registry; d; d = d->_succ) {
    if (Lower(d->Name()) == wanted) return 1;
  }
  return 0;
}

int SelectAudioDriver(const std::string& name) {
  RegisterAudioDrivers();
  const std::string wanted = Lower(name);
  TAudioDriver* found = registry;
  while (found && Lower(found->Name()) != wanted) found = found->_succ;
  return StartAudioDriver(found);
}

int StartAudioDriver(TAudioDriver* driver) {
  RegisterAudioDrivers();
  if (current) current->Shutdown();
  current = nullDriver;
  if (!driver || !driver->Startup()) return 0;
  current = driver;
  return 1;
}

TAudioDriver* CurrentAudioDriver() {
  if (current) return current;
  if (!SelectAudioDriver("RaziDazir")) {
    std::fprintf(stderr, "Sound is off: %s\n", AudioOutputError().c_str());
    SelectAudioDriver("Null");
  }
  return current;
}
