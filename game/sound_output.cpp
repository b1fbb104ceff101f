// sound_output.cpp - starting the chosen output device's driver.
#include "game/sound_output.h"

#include <cstdio>

#include "audio/audio_driver.h"
#include "platform/audio_output.h"

const char* SoundOutputDriver(SoundOutput output) {
  switch (output) {
    case SoundOutput::WaveOut:
      return "RaziDazir Multimedia";
    case SoundOutput::DirectSound:
      return "RaziDazir DirectSound";
    case SoundOutput::Auto:
      break;
  }
  return "RaziDazir";
}

void StartSoundOutput(SoundOutput output) {
  if (output == SoundOutput::Auto) return;
  if (SelectAudioDriver(SoundOutputDriver(output))) return;
  std::fprintf(stderr, "Sound output %s did not start (%s): using the default\n",
               SoundOutputDriver(output), AudioOutputError().c_str());
  if (SelectAudioDriver(SoundOutputDriver(SoundOutput::Auto))) return;
  std::fprintf(stderr, "Sound is off: %s\n", AudioOutputError().c_str());
  SelectAudioDriver("Null");
}
