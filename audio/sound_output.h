// sound_output.h - which output device the game's sound goes to: the default (wave-out, with
// DirectSound when that fails to start), or one of the two named. A setting and a command-line
// option choose it, so that each device can be tried and measured. The choice goes straight to
// the mixer's driver for that device; the registry's lookup by name is for other callers. Needs
// the driver registry (audio_driver.h) and the mixer's drivers (razidazir_driver.h).
#pragma once

// In the order of the setting's choices ("auto", "waveout", "directsound").
enum class SoundOutput { Auto, WaveOut, DirectSound };

// Starts the mixer's driver for `output` and makes it current. A named device that does not start
// gives one line on stderr and the default instead; when nothing starts, one line says the sound
// is off and the null driver is current. While the offline device is chosen
// (audio/offline_device.h) that one starts instead. Game thread, before any sound is loaded.
void StartSoundOutput(SoundOutput output);
