// audio_output.cpp - the sound card through SDL's audio devices.
//
// Each open output holds a reference on SDL's audio subsystem, so outputs can come and go
// independently of whatever else of SDL the program uses.
#include "platform/audio_output.h"

#include <SDL.h>
#include <pthread.h>

#include <mutex>

struct AudioOutput {
  SDL_AudioDeviceID id = 0;
  int bufferFrames = 0;
  AudioPull pull = nullptr;
  void* user = nullptr;
};

namespace {

std::mutex errorLock;
std::string lastError;

void SetError(const std::string& what) {
  std::lock_guard<std::mutex> hold(errorLock);
  lastError = what;
}

void Pull(void* userdata, Uint8* stream, int len) {
  auto* out = static_cast<AudioOutput*>(userdata);
  out->pull(out->user, reinterpret_cast<std::int16_t*>(stream), len / 2);
}

AudioOutput* Open(int chunkFrames, AudioPull pull, void* user) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    SetError(std::string("No audio device (") + SDL_GetError() + ")");
    return nullptr;
  }
  auto* out = new AudioOutput;
  out->pull = pull;
  out->user = user;
  SDL_AudioSpec want{};
  want.freq = 44100;
  want.format = AUDIO_S16LSB;
  want.channels = 2;
  want.samples = static_cast<Uint16>(chunkFrames > 0 && chunkFrames < 32768 ? chunkFrames : 512);
  if (pull) {
    want.callback = &Pull;
    want.userdata = out;
  }
  // No changes allowed: SDL converts to whatever the device really plays.
  SDL_AudioSpec have{};
  out->id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (out->id == 0) {
    SetError(std::string("No audio device (") + SDL_GetError() + ")");
    delete out;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  out->bufferFrames = have.samples;
  return out;
}

}  // namespace

AudioOutput* OpenAudioOutputPush(int chunkFrames) { return Open(chunkFrames, nullptr, nullptr); }

AudioOutput* OpenAudioOutputPull(int chunkFrames, AudioPull pull, void* user) {
  if (!pull) {
    SetError("No audio callback");
    return nullptr;
  }
  return Open(chunkFrames, pull, user);
}

void CloseAudioOutput(AudioOutput* out) {
  if (!out) return;
  SDL_CloseAudioDevice(out->id);
  delete out;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void RunAudioOutput(AudioOutput* out, bool run) {
  if (out) SDL_PauseAudioDevice(out->id, run ? 0 : 1);
}

bool QueueAudioOutput(AudioOutput* out, const std::int16_t* values, int count) {
  if (!out || count < 0) return false;
  return SDL_QueueAudio(out->id, values, static_cast<Uint32>(count) * 2) == 0;
}

std::int64_t AudioOutputQueuedBytes(AudioOutput* out) {
  if (!out) return -1;
  return SDL_GetQueuedAudioSize(out->id);
}

void ClearAudioOutput(AudioOutput* out) {
  if (out) SDL_ClearQueuedAudio(out->id);
}

int AudioOutputBufferFrames(AudioOutput* out) { return out ? out->bufferFrames : 0; }

bool MakeAudioFeederThread(const char* name) {
  if (name) pthread_setname_np(pthread_self(), std::string(name).substr(0, 15).c_str());
  return SDL_SetThreadPriority(SDL_THREAD_PRIORITY_TIME_CRITICAL) == 0;
}

std::string AudioOutputError() {
  std::lock_guard<std::mutex> hold(errorLock);
  return lastError;
}
