// offline_device.h - an output device with no sound card and no thread: the caller pulls the
// mixer's output whenever it wants the next stretch of sound, as a video does once per frame.
//
// The mixer runs exactly as under a sound card (start delays, ramps, streams), only the moment it
// mixes is the caller's. Starting it through the driver makes it the one every sound of the game
// plays on, so the game needs no change to be heard offline.
#pragma once

#include <cstdint>

#include "audio/mixer.h"

class offlinedevice : public audiodevice {
 public:
  int init() override;
  void close() override;
};

// From now on StartSoundOutput starts the offline device, whatever output it is asked for (true),
// or the one asked for again (false). Game thread.
void ChooseOfflineSound(bool offline);
bool OfflineSoundChosen();
// Starts the offline device's driver and makes it current in place of any other. False (and the
// null driver current) when it cannot start. Game thread, before any sound is loaded.
bool StartOfflineSoundOutput();
// Mixes the next `frames` stereo frames into `dest` (2 * frames values); silence while the offline
// device is not the one running. Game thread: it stands in for the device thread.
void PullOfflineSound(std::int16_t* dest, int frames);
