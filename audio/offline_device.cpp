// offline_device.cpp - the mixer with nobody but its caller to pull it.
#include "audio/offline_device.h"

#include <algorithm>
#include <memory>

#include "audio/audio_driver.h"
#include "audio/mix_api.h"
#include "audio/razidazir_driver.h"

namespace {

// Values mixed in one pass: a frame of video at 44100 Hz is 735 frames, one pass.
constexpr int kBlockValues = 2048;

// Apart from any game's state: the output chosen for the run, before its start-up.
bool offline_chosen = false;

}  // namespace

int offlinedevice::init() {
  mixer_ = std::make_unique<mixer>(kBlockValues, 44100, 2);
  return 0;
}

void offlinedevice::close() {
  if (mixer_) mixer_->releaseAll();
}

void ChooseOfflineSound(bool offline) { offline_chosen = offline; }
bool OfflineSoundChosen() { return offline_chosen; }

bool StartOfflineSoundOutput() {
  return StartAudioDriver(RaziDazirDriver(TRaziDazirAudioDriver::MODE_OFFLINE)) != 0;
}

void PullOfflineSound(std::int16_t* dest, int frames) {
  mixer* running = mix_current_mixer();
  auto* driver = dynamic_cast<TRaziDazirAudioDriver*>(CurrentAudioDriver());
  if (!running || !driver || driver->_mode != TRaziDazirAudioDriver::MODE_OFFLINE) {
    std::fill(dest, dest + 2 * frames, std::int16_t{0});
    return;
  }
  running->mixBlock(dest, 2 * frames);
}
