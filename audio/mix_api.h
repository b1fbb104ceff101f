// mix_api.h - the mixer's entry points: samples, channel handles and voices, for the game thread.
//
// A channel handle names a slot of a 4095-entry table together with a serial: the low 12 bits are
// the slot, the rest count how often the slot was handed out, so a handle that was freed no
// longer matches when its slot is used again. Handle 0 means none. Every entry point answers 0
// or does nothing while no device runs, and when a handle is 0 or stale.
//
//   mix_init(&device);
//   mix_sample* s = mix_create_sound(frames, 16, 2, 44100, pcm, 0);
//   int h = mix_play(s, 1, 0);     // a new handle, its voice paused
//   mix_set_volume(h, 0.5f);
//   mix_set_paused(h, 0);          // sounds 20 ms after the mix_play
//   mix_free_channel(h);           // the voice plays on to its end
//   mix_free_sound(s);             // the voices keep the data while they need it
#pragma once

#include <cstdint>

#include "audio/mix_sample.h"
#include "audio/mixer.h"

// Starts `device` and builds the handle table: 0, or -1 when the device failed (it is closed
// again then).
int mix_init(audiodevice* device);
// Frees the handle table, closes the device and forgets it.
void mix_close();
// The mixer of the running device, or null.
mixer* mix_current_mixer();

// A copy of `length` frames at `data`; `loop` non-zero wraps voices to the start.
mix_sample* mix_create_sound(int length, int bits, int channels, int hertz, const void* data,
                             int loop);
// Drops the caller's reference; this works with or without a running device.
void mix_free_sound(mix_sample* sample);

int mix_alloc_channel();
// Returns the slot; a voice that was started plays on and is released when it ends (a paused one
// stops, since nobody could resume it).
void mix_free_channel(int handle);

// Starts a voice of `sample` (paused when `paused` is non-zero) on `handle`, which then keeps the
// handle's settings and replaces its previous voice; handle 0 asks for a new handle whose voice is
// released when it ends. Returns the handle, or 0.
int mix_play(mix_sample* sample, int paused, int handle);
// Stops the voice and frees the handle.
void mix_stop_channel(int handle);
// sound::Status bits: 1 idle, 2 playing once, 4 looping, +16 paused; 0 released.
int mix_channel_status(int handle);
// Frames played by the handle's voice, loops included.
std::int64_t mix_channel_position(int handle);
void mix_set_paused(int handle, int paused);
// Volume 1.0 is full level; pan -1.0 left to 1.0 right; a negative depth inverts the right
// output; rate 1.0 plays at the sample's own speed. Values convert by truncation toward zero.
void mix_set_volume(int handle, float volume);
void mix_set_pan(int handle, float pan);
void mix_set_depth(int handle, float depth);
void mix_set_rate(int handle, float rate);
