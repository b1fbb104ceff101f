// sound_loading.cpp - the effects' table and the decoding thread.
#include "game/assets/sound_loading.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>

#include "audio/audio_driver.h"
#include "audio/sample_loader.h"
#include "game/config/game_files.h"
#include "game/play/globals.h"
#include "game/play/sound_control.h"

namespace {

struct EffectFile {
  Ref<TSound>* sound;
  const char* file;
};

const std::array<EffectFile, 14> kEffects = {{
    {&assets.snd_shot, "shot1.ogg"},
    {&assets.snd_hyper, "hypersp.ogg"},
    {&assets.snd_gstart, "gstart.ogg"},
    {&assets.snd_endwave, "endwave.ogg"},
    {&assets.snd_bhit, "bhit.ogg"},
    {&assets.snd_bhit1, "bhit1.ogg"},
    {&assets.snd_lswarm, "lswarm.ogg"},
    {&assets.snd_sswarm, "sswarm.ogg"},
    {&assets.snd_sbhit, "sbhit.ogg"},
    {&assets.snd_sbdie, "sbdie.ogg"},
    {&assets.snd_shipdie, "shipdie.ogg"},
    {&assets.snd_flyaway, "flyaway.ogg"},
    {&assets.snd_beewarp, "beewarp.ogg"},
    {&assets.snd_hscore, "hscore.ogg"},
}};

// The decoder's own state, apart from the game's: its thread writes part of it. Started once per
// process; the effects go to `assets` when the game thread takes them.
struct EffectDecoder {
  // Written by the decoding thread only until it is joined; read by the game thread after.
  std::array<Ref<TAudioSample>, kEffects.size()> decoded;
  std::array<std::string, kEffects.size()> paths;
  std::thread thread;
  bool started = false;
} decoder;

void DecodeAll() {
  for (std::size_t i = 0; i < kEffects.size(); ++i) {
    try {
      decoder.decoded[i] = LoadSample(decoder.paths[i]);
    } catch (const std::exception&) {
      decoder.decoded[i].reset();
    }
  }
}

// A start-up that fails while the thread runs ends the program with it still decoding.
void JoinDecoder() {
  if (decoder.thread.joinable()) decoder.thread.join();
}

}  // namespace

void StartLoadingSounds() {
  if (decoder.started) return;
  decoder.started = true;
  for (std::size_t i = 0; i < kEffects.size(); ++i) decoder.paths[i] = DataFile(kEffects[i].file);
  AudioSampleLoaders();  // the loaders registered here, not raced for by the thread
  static const bool joined_at_exit = std::atexit(JoinDecoder) == 0;
  (void)joined_at_exit;
  decoder.thread = std::thread(DecodeAll);
  PrepareMusic();
}

void FinishLoadingSounds() {
  if (decoder.thread.joinable()) {
    decoder.thread.join();
  } else {
    for (std::size_t i = 0; i < kEffects.size(); ++i) decoder.paths[i] = DataFile(kEffects[i].file);
    DecodeAll();
  }
  decoder.started = false;
  for (std::size_t i = 0; i < kEffects.size(); ++i) {
    Ref<TSound> sound;
    try {
      sound = decoder.decoded[i] ? LoadAudio(decoder.decoded[i], 0) : nullptr;
    } catch (const std::exception&) {
      sound.reset();
    }
    if (!sound)
      std::fprintf(stderr, "Sound %s could not be loaded: effect off\n", decoder.paths[i].c_str());
    *kEffects[i].sound = sound;
    decoder.decoded[i].reset();
  }
}
