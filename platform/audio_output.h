// audio_output.h - the sound card: 44100 Hz, 16-bit signed, stereo output.
//
// Two ways to keep it fed. In push mode the caller queues samples and asks how many are still
// waiting to be played, which tells it the play position. In pull mode the card calls back from
// a thread of its own whenever it needs the next values. Both open paused; RunAudioOutput starts
// playback. When there is no usable device the open functions return null and
// AudioOutputError() says why.
#pragma once

#include <cstdint>
#include <string>

struct AudioOutput;

// `chunkFrames` is how many frames the card takes at a time: the size of SDL's own device
// buffer, which adds its length to whatever the caller keeps queued, so keep it small.
AudioOutput* OpenAudioOutputPush(int chunkFrames);

// `pull(user, dest, count)` must fill `count` 16-bit values (left/right interleaved). It runs on
// the card's thread, between RunAudioOutput and CloseAudioOutput.
using AudioPull = void (*)(void* user, std::int16_t* dest, int count);
AudioOutput* OpenAudioOutputPull(int chunkFrames, AudioPull pull, void* user);

// Stops the card; in pull mode no call of `pull` is running or follows. Null is ignored.
void CloseAudioOutput(AudioOutput* out);

// Starts (true) or pauses (false) playback.
void RunAudioOutput(AudioOutput* out, bool run);

// Push mode: appends `count` values; false when the card refused them.
bool QueueAudioOutput(AudioOutput* out, const std::int16_t* values, int count);
// Push mode: bytes queued and not yet played; -1 for a card that is not open.
std::int64_t AudioOutputQueuedBytes(AudioOutput* out);
// Push mode: drops everything queued.
void ClearAudioOutput(AudioOutput* out);

// Frames in the card's own buffer (SDL's device buffer); 0 for null. Any thread.
int AudioOutputBufferFrames(AudioOutput* out);

// Gives the calling thread the priority SDL gives a card's own thread (time-critical) and the
// name `name` (at most 15 characters, shown by ps and top). A thread that feeds a card calls it
// first: at a lower priority than the card's reader it starves on a busy machine, and the card
// catches up with it. False where the system refuses the priority (it then keeps its own).
bool MakeAudioFeederThread(const char* name);

// Why the last open failed, e.g. "No audio device (dsp: No such audio device)".
std::string AudioOutputError();
