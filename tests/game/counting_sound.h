// A sound effect that plays nothing and counts how often it was started, to put in place of one
// of the game's effects (assets.snd_hscore, ...) and ask how many times the game played it.
#pragma once

#include "audio/audio_driver.h"

class CountingSound : public TSound {
 public:
  Ref<TChannel> Play(const Ref<TChannel>&) override {
    ++starts;
    return New<TChannel>();
  }
  Ref<TChannel> Cue(const Ref<TChannel>& channel) override { return Play(channel); }
  int starts = 0;
};
