// sound_output.h - which output device the game's sound goes to: the default (wave-out, with
// DirectSound when that fails to start), or one of the two named. A setting and a command-line
// option choose it, so that each device can be tried and measured. Needs the audio layer.
#pragma once

enum class SoundOutput { Auto, WaveOut, DirectSound };

// The audio driver `output` stands for: "RaziDazir", "RaziDazir Multimedia" or
// "RaziDazir DirectSound".
const char* SoundOutputDriver(SoundOutput output);
// Starts `output`'s driver; Auto leaves the choice to the audio layer's first use. A named device
// that does not start gives one line on stderr and the default instead. Main thread, before any
// sound is loaded.
void StartSoundOutput(SoundOutput output);
