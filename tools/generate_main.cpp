// generate_main.cpp - zx_assetgen <image folder> <sound folder>: writes every asset of the game,
// the desktop icons (<image folder>/icons/<size>.png) included.
//
// Each file is one job; the jobs share out over the machine's cores through one atomic counter,
// and each writes only its own file, so nothing else is shared between threads.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tools/font_bitmap.h"
#include "tools/icon.h"
#include "tools/music.h"
#include "tools/sound_effects.h"
#include "tools/splash_logo.h"
#include "tools/sprite_sheet.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <image folder> <sound folder>\n", argv[0]);
    return 2;
  }
  const std::string images = argv[1], sounds = argv[2];
  std::error_code error;
  std::filesystem::create_directories(images, error);
  std::filesystem::create_directories(sounds, error);

  // The music tracks take longest, so they go first and the short jobs fill in behind them.
  std::vector<std::function<void()>> jobs;
  for (const MusicTrack& track : MusicTracks()) {
    jobs.push_back([&] {
      WriteOggWithin(sounds + "/" + track.name + ".ogg", track.make(), 0.4f, kMusicPeak);
    });
  }
  jobs.push_back([&] { WriteSpriteSheet(images + "/zumbrix_3d.png"); });
  jobs.push_back([&] { WriteSplashLogo(images + "/vxlogo.png"); });
  jobs.push_back([&] { WriteFontFile(images + "/vantorfont.bin"); });
  jobs.push_back([&] { WriteIcons(images + "/icons"); });
  for (const SoundEffect& effect : SoundEffects()) {
    jobs.push_back([&] {
      WriteOggWithin(sounds + "/" + effect.name + ".ogg", effect.make(), 0.5f, kEffectPeak);
    });
  }

  std::atomic<std::size_t> next{0};
  std::atomic<bool> failed{false};
  auto worker = [&] {
    for (std::size_t i = next++; i < jobs.size(); i = next++) {
      try {
        jobs[i]();
      } catch (const std::exception& e) {
        std::fprintf(stderr, "zx_assetgen: %s\n", e.what());
        failed = true;
      }
    }
  };
  // Two workers at least, so both cores of a small machine work; four at most, since each music
  // track holds over a hundred megabytes of mix buffers while it renders.
  unsigned cores = std::clamp(std::thread::hardware_concurrency(), 2u, 4u);
  std::vector<std::thread> threads;
  for (unsigned i = 1; i < cores; ++i) threads.emplace_back(worker);
  worker();
  for (auto& t : threads) t.join();
  return failed ? 1 : 0;
}
