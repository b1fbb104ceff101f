// game_soak.cpp - the game played for a long time on the headless harness, watching memory and
// the populations of the entity lists. Scripted play (the aiming script, starting a new game
// after each game over) runs first, then attract play on the title screen. Every 5,000 frames
// and at the end it prints the frame rate, the resident memory and the largest list counts seen;
// every 10,000 frames the game's state hash (game/replay/state_hash.h), which two runs of one build
// print alike; at the start of each wave of scripted play, the heap in use.
//
//   bench_game_soak                                   a short run (make bench)
//   bench_game_soak --play 50000 --attract 200000     the soak (make soak)
//   bench_game_soak --screenshots DIR                 also saves one PNG of each scene of play
//   bench_game_soak --folder DIR                      runs in DIR, whose data/ holds the sounds
//   bench_game_soak --readback 1                      reads a pixel back before every frame
//   bench_game_soak --null 1                          on the null graphics driver (make soak)
//   bench_game_soak --record 1                        records each phase's games as --record does,
//                                                     printing the recording's size as it grows
//   bench_game_soak --record 1 --save-replay FILE     also writes the scripted play's games to
//                                                     FILE, a replay (scripts/video-bench.sh)
//
// Without --folder it runs in a scratch folder whose data/ links the program's sounds, so that
// the scripted player's best score never replaces the one in the program's own data/.
//
// Its own main: a soak is one long measurement, not a benchmark repeated to a time budget.
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/app.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/replay/replay.h"
#include "game/replay/replay_file.h"
#include "game/replay/state_hash.h"
#include "graphics/draw2d.h"
#include "harness/harness.h"
#include "system/key_codes.h"
#include "tests/game/aim_script.h"

namespace {

double ResidentMB() {
  long pages = 0, resident = 0;
  std::ifstream statm("/proc/self/statm");
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// What the program holds on the heap, apart from what the allocator keeps for reuse: resident
// memory that grows while this stays level is fragmentation, not a leak. Blocks the allocator
// maps on their own are counted apart.
struct HeapUse {
  double small = 0, large = 0;
};

HeapUse HeapInUseMB() {
  struct mallinfo2 info = mallinfo2();
  return {static_cast<double>(info.uordblks) / 1048576.0,
          static_cast<double>(info.hblkhd) / 1048576.0};
}

double PeakMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

struct Peaks {
  int bees = 0, beeshots = 0, shots = 0, splats = 0, points = 0, particles = 0;
  double heap = 0;  // the most heap in use at the end of a frame
  void Take() {
    const HeapUse use = HeapInUseMB();
    heap = std::max(heap, use.small + use.large);
    bees = std::max(bees, playfield.beelist->Count());
    beeshots = std::max(beeshots, playfield.beeshotlist->Count());
    shots = std::max(shots, playfield.shotlist->Count());
    splats = std::max(splats, playfield.splatlist->Count());
    points = std::max(points, playfield.pointslist->Count());
    particles = std::max(particles, playfield.particlelist->Count());
  }
  void Print() const {
    std::printf(
        "  largest counts: bees %d, bee shots %d, laser shots+tracers %d, splats %d, "
        "pop-ups %d, particles %d; most heap in use %.1f MB\n",
        bees, beeshots, shots, splats, points, particles, heap);
  }
};

// One PNG of each scene the report shows, the first time it comes up in play.
struct SceneShots {
  std::string folder;
  bool swarm = false, dive = false, bonus = false, wavedone = false, over = false;

  void Take() {
    if (folder.empty()) return;
    if (!swarm && game_mode.playing && SwarmHalfway()) swarm = Shoot("swarm_converging.png");
    if (!dive && game_mode.playing && DivingAndShooting()) dive = Shoot("merged_bee_diving.png");
    if (!bonus && game_mode.playing && progress.phase == 2 && BonusBeeInView() &&
        playfield.shotlist->Count() >= 1) {
      bonus = Shoot("bonus_round.png");
    }
    if (!wavedone && game_mode.waveend && !game_mode.cycledone && playfield.player->y < -200 &&
        playfield.player->y > -400) {
      wavedone = Shoot("wave_complete.png");
    }
    if (!over && game_mode.gameover && playfield.particlelist->Count() >= 60 &&
        game_mode.seqctr == 40) {
      over = Shoot("game_over.png");
    }
  }
  bool Shoot(const char* name) {
    HarnessScreenshot(folder + "/" + name);
    std::printf("  screenshot %s at flip %d\n", name, HarnessFlips());
    return true;
  }
  // A whole ring of eight on its way in, its centre well inside the playfield.
  static bool SwarmHalfway() {
    int ring = 0;
    float cx = 0, cy = 0;
    WalkList<starbee_tag>(*playfield.beelist, [&](starbee_tag* bee) {
      if (bee->btype != 2 || bee->spawntravel < 70 || bee->spawntravel > 90) return;
      ++ring;
      cx += bee->x / 8;
      cy += bee->y / 8;
    });
    return ring == 8 && cx > 200 && cx < 440 && cy > 130 && cy < 260;
  }
  static bool BonusBeeInView() {
    int inview = 0;
    WalkList<starbee_tag>(*playfield.beelist, [&](starbee_tag* bee) {
      inview += bee->btype == 1 && bee->y > 150 && bee->y < 330 && bee->x > 120 && bee->x < 520;
    });
    return inview >= 1;
  }
  // A large merged bee diving, well clear of the ship's aim so that it is still there when the
  // frame is shown, with a bee bullet falling mid-screen.
  static bool DivingAndShooting() {
    int diving = 0, falling = 0;
    WalkList<starbee_tag>(*playfield.beelist, [&](starbee_tag* bee) {
      diving += bee->btype == 0 && bee->alpha >= 1 && bee->scale >= 0.5f && bee->rotation > 179 &&
                bee->rotation < 181 && bee->y > 150 && bee->y < 300 &&
                std::abs(bee->x - playfield.player->x) > 60;
    });
    WalkList<beeshot_tag>(*playfield.beeshotlist,
                          [&](beeshot_tag* shot) { falling += shot->y > 100 && shot->y < 380; });
    return diving >= 1 && falling >= 1;
  }
};

// Reading a pixel back at every flip makes the GL finish the frame's commands.
bool readback = false;
// Each phase recorded as `--record FILE` records a run: every game, the title's time left out.
bool record = false;
// Where the scripted play's recording is saved; empty: nowhere.
std::string save_replay;

struct Phase {
  const char* name;
  int frames;
  bool scripted;
};

void RunPhase(const Phase& phase, SceneShots& scenes) {
  if (phase.frames <= 0) return;
  AimScript aim;
  int bonusframes = 0;  // frames of play in the current bonus round
  Peaks peaks;
  if (!phase.scripted) {
    // Back to the title screen: abandon whatever game is running.
    HarnessTapKey(112);
    HarnessRun(120);
  }
  const auto start = std::chrono::steady_clock::now();
  double firstminute = 0;
  int games = 0;
  std::printf("%s: %d frames\n", phase.name, phase.frames);
  if (record) StartRecording(RecordingKeeps::kEveryGame);
  for (int frame = 1; frame <= phase.frames; ++frame) {
    if (phase.scripted) {
      // The script keeps bonus bees in the air for a while, then lets them go: it bursts nearly
      // every one it shoots, and the round only ends when three have escaped.
      bonusframes = ::progress.phase == 2 && game_mode.playing ? bonusframes + 1 : 0;
      aim.shootbonus = bonusframes < 1500;
      aim.Step();
      scenes.Take();
    }
    const int wasover = game_mode.gameover, wasplaying = game_mode.playing;
    if (readback) GrabPixmap(0, 0, 1, 1);
    if (!HarnessFrame()) {
      std::printf("  the game asked to end at frame %d\n", frame);
      break;
    }
    games += wasover && !game_mode.gameover;
    peaks.Take();
    // Each wave starts in the same state (one track, no objects but the ship): the heap in use
    // then, against that of earlier waves of the same phase, shows whether anything piles up.
    if (phase.scripted && game_mode.playing && !wasplaying && game_mode.titlemode == 0) {
      const HeapUse heap = HeapInUseMB();
      std::printf("  play starts: frame %d, wave %d phase %d, heap in use %.1f MB\n", frame,
                  playfield.player->wave, ::progress.phase, heap.small + heap.large);
    }
    if (frame == 3600) firstminute = ResidentMB();
    if (frame % 10000 == 0) {
      std::printf("  state hash at frame %d: %016llx\n", frame,
                  static_cast<unsigned long long>(GameStateHash()));
    }
    if (frame % 5000 == 0 || frame == phase.frames) {
      double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      const HeapUse heap = HeapInUseMB();
      std::printf(
          "  frame %7d: %6.1f frames/s, resident %.1f MB (after the first minute %.1f), "
          "peak %.1f MB, heap in use %.1f MB + %.1f MB in large blocks, games over %d, "
          "best %d\n",
          frame, frame / seconds, ResidentMB(), firstminute, PeakMB(), heap.small, heap.large,
          games, playfield.player->hscore);
      peaks.Print();
      if (record) std::printf("  recording so far %.1f KB\n", RecordedBytes() / 1024.0);
      std::fflush(stdout);
    }
  }
  if (record) {
    // A saved replay ends its last game as a player would (F1, back to the title), so that it
    // plays to its end with nothing after it, as any game recorded by the program does.
    if (phase.scripted && !save_replay.empty() && game_mode.titlemode == 0) {
      HarnessTapKey(Key(KeyCode::kF1));
      for (int frame = 0; frame < 600 && game_mode.titlemode == 0 && HarnessFrame(); ++frame) {
      }
    }
    const RecordedRun run = StopRecording();
    std::printf("  recorded %zu games, %zu bytes as a file\n", run.journal.games.size(),
                SerializeReplay(run.journal).size());
    if (phase.scripted && !save_replay.empty() && !SaveReplay(save_replay, run.journal)) {
      std::printf("  the replay could not be saved to %s\n", save_replay.c_str());
    }
  }
}

// A folder in the temporary directory whose data/ links every file of the program's data/ but
// the best score.
std::string ScratchFolder() {
  namespace fs = std::filesystem;
  EnterAppDir(nullptr);
  const fs::path folder = fs::temp_directory_path() / ("zx_soak_" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder / "data");
  for (const auto& entry : fs::directory_iterator(fs::path(AppDir()) / "data")) {
    if (entry.path().filename() == "hiscore.dat") continue;
    fs::create_symlink(entry.path(), folder / "data" / entry.path().filename());
  }
  return folder.string();
}

}  // namespace

int main(int argc, char** argv) {
  int play = 2000, attract = 2000;
  std::string folder;  // the folder holding data/; empty: a scratch one
  SceneShots scenes;
  bool null_graphics = false;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--play")) play = std::atoi(argv[i + 1]);
    if (!std::strcmp(argv[i], "--attract")) attract = std::atoi(argv[i + 1]);
    // The harness runs in the game's folder: paths are made absolute before it starts.
    if (!std::strcmp(argv[i], "--screenshots")) {
      scenes.folder = std::filesystem::absolute(argv[i + 1]).string();
    }
    if (!std::strcmp(argv[i], "--folder")) folder = std::filesystem::absolute(argv[i + 1]).string();
    if (!std::strcmp(argv[i], "--readback")) readback = std::atoi(argv[i + 1]) != 0;
    if (!std::strcmp(argv[i], "--null")) null_graphics = std::atoi(argv[i + 1]) != 0;
    if (!std::strcmp(argv[i], "--record")) record = std::atoi(argv[i + 1]) != 0;
    if (!std::strcmp(argv[i], "--save-replay")) {
      save_replay = std::filesystem::absolute(argv[i + 1]).string();
    }
  }
  const bool scratch = folder.empty();
  if (scratch) folder = ScratchFolder();
  HarnessOptions options;
  options.folder = folder;
  options.null_graphics = null_graphics;
  HarnessStart(options);
  std::printf("start-up on the %s driver: resident %.1f MB\n", null_graphics ? "null" : "OpenGL",
              ResidentMB());
  RunPhase({"scripted play", play, true}, scenes);
  RunPhase({"attract play", attract, false}, scenes);
  HarnessStop();
  if (scratch) std::filesystem::remove_all(folder);
  std::printf("end: resident %.1f MB, peak %.1f MB\n", ResidentMB(), PeakMB());
  return 0;
}
