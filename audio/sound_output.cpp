// sound_output.cpp - starting the chosen output device's driver.
#include "audio/sound_output.h"

#include <cstdio>

#include "audio/audio_driver.h"
#include "audio/offline_device.h"
#include "audio/razidazir_driver.h"
#include "platform/audio_output.h"

namespace {

int DriverMode(SoundOutput output) {
  switch (output) {
    case SoundOutput::WaveOut:
      return TRaziDazirAudioDriver::MODE_MULTIMEDIA;
    case SoundOutput::DirectSound:
      return TRaziDazirAudioDriver::MODE_DIRECTSOUND;
    case SoundOutput::Auto:
      break;
  }
  return TRaziDazirAudioDriver::MODE_FALLBACK;
}

}  // namespace

void StartSoundOutput(SoundOutput output) {
  if (OfflineSoundChosen()) {
    if (StartOfflineSoundOutput()) return;
    std::fprintf(stderr, "Sound is off: the offline mixer did not start\n");
    return;
  }
  TRaziDazirAudioDriver* driver = RaziDazirDriver(DriverMode(output));
  if (StartAudioDriver(driver)) return;
  if (output != SoundOutput::Auto) {
    std::fprintf(stderr, "Sound output %s did not start (%s): using the default\n",
                 driver->Name().c_str(), AudioOutputError().c_str());
    if (StartAudioDriver(RaziDazirDriver(TRaziDazirAudioDriver::MODE_FALLBACK))) return;
  }
  std::fprintf(stderr, "Sound is off: %s\n", AudioOutputError().c_str());
}
