// Record and replay: a scripted game recorded on the null driver replays on the null driver and
// on OpenGL with the same state at every 1000th frame (on a clock far from the recording's, so a
// simulation that read the clock would show); damaged, foreign and truncated files are refused;
// a replay whose input was altered mid-game stops at the first check after the change.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "aim_script.h"
#include "game/replay.h"
#include "game/replay_file.h"
#include "game/replay_run.h"
#include "game/scores.h"
#include "game/state_hash.h"
#include "game_fixture.h"
#include "platform/clock.h"
#include "sanitizer.h"
#include "system/event.h"

namespace {

constexpr int kFrames = 2100;
constexpr std::int32_t kSeed = 424242;

struct GameRun {
  std::vector<std::uint64_t> hashes;  // at flips 1000, 2000, ...
  std::vector<bool> playing;          // at every flip
  int score = 0;
};

class Replays : public GameTest {
 public:
  // Hashes every 1000th flip and notes play at every flip, from the first flip on.
  void Watch(GameRun& run) {
    HarnessOnFlip([&run] {
      run.playing.push_back(playing == 1);
      if (HarnessFlips() % 1000 == 0) run.hashes.push_back(GameStateHash());
    });
  }

  HarnessOptions Options(bool null) {
    HarnessOptions options;
    options.folder = folder_.string();
    options.seed = kSeed;
    options.nullgraphics = null;
    return options;
  }

  // A game of kFrames frames played by the aiming script, ended with ESC.
  ReplayJournal Record(GameRun& run) {
    Watch(run);
    StartRecording(kSeed);
    HarnessStart(Options(true));
    AimScript aim;
    for (int frame = 0; frame < kFrames; ++frame) {
      aim.Step();
      if (!HarnessFrame()) break;
    }
    HarnessTapKey(27);
    EXPECT_FALSE(HarnessFrame());
    ReplayJournal journal = StopRecording();
    run.score = player->score;
    HarnessStop();
    std::filesystem::remove(folder_ / "data" / "hiscore.dat");
    return journal;
  }

  // Plays the journal back on a clock moved far from the recording's; the status at its end.
  ReplayStatus Replay(const ReplayJournal& journal, bool null, GameRun& run) {
    plat_use_virtual_clock(true);
    plat_advance_clock(9876543);
    Watch(run);
    StartReplay(journal);
    HarnessStart(Options(null));
    while (CurrentReplayStatus() == ReplayStatus::kPlaying && HarnessFrame()) {
    }
    const ReplayStatus status = CurrentReplayStatus();
    run.score = player->score;
    EXPECT_TRUE(status != ReplayStatus::kPlaying || ReplayFramesDone());
    StopReplay();
    HarnessStop();
    std::filesystem::remove(folder_ / "data" / "hiscore.dat");
    return status;
  }

  void SetUp() override { MakeFolder(); }
  std::filesystem::path Folder() const { return folder_; }
};

void RecordAndReplay(Replays& test, bool null) {
  GameRun recorded;
  const ReplayJournal journal = test.Record(recorded);
  ASSERT_GE(journal.frames.size(), static_cast<std::size_t>(kFrames));
  ASSERT_GE(recorded.hashes.size(), 2u);
  EXPECT_GT(recorded.score, 0);

  // Through the file, as a player's replay would come.
  const std::string path = (test.Folder() / "game.replay").string();
  ASSERT_TRUE(SaveReplay(path, journal));
  ReplayJournal loaded;
  ASSERT_EQ(LoadReplay(path, loaded), ReplayError::kNone);
  ASSERT_EQ(loaded, journal);

  // The player who replays it has a best score of their own, far above the recording's.
  std::filesystem::create_directories(test.Folder() / "data");
  ASSERT_TRUE(writehiscore((test.Folder() / "data" / "hiscore.dat").string(), 987654));
  GameRun replayed;
  EXPECT_EQ(test.Replay(loaded, null, replayed), ReplayStatus::kPlaying) << ReplayDivergence();
  EXPECT_EQ(replayed.hashes, recorded.hashes);
  EXPECT_EQ(replayed.score, recorded.score);
}

// Recorded on the null driver, through the file, and replayed on `null` or OpenGL.
void RecordAndReplay(Replays& test, bool null);

TEST_F(Replays, ARecordedGameReplaysTheSameOnTheNullDriver) { RecordAndReplay(*this, true); }

TEST_F(Replays, AGameRecordedOnTheNullDriverReplaysTheSameOnOpenGL) {
  if (kThreadSanitizer) GTEST_SKIP() << "2,100 frames on the software OpenGL: other builds";
  RecordAndReplay(*this, false);
}

TEST_F(Replays, AReplayWhoseInputWasAlteredStopsAtTheFirstCheckAfterTheChange) {
  GameRun recorded;
  ReplayJournal journal = Record(recorded);
  // The pointer sent 150 pixels aside for 20 frames of play, from ten frames before a check:
  // the ship follows the pointer, so the state differs at that check.
  std::size_t altered = 0;
  for (std::size_t i = 1200; i + 70 < journal.frames.size() && altered == 0; ++i) {
    if ((i + 1) % kReplayCheckEvery != kReplayCheckEvery - 10) continue;
    bool all_playing = true;
    for (std::size_t k = i; k < i + 70; ++k) all_playing = all_playing && recorded.playing[k];
    if (!all_playing) continue;
    for (std::size_t k = i; k < i + 20; ++k) {
      for (ReplayEvent& e : journal.frames[k].events) {
        if (e.event.id != EVENT_MOUSEMOVE) continue;
        e.event.x += e.event.x < 320 ? 150 : -150;
        if (altered == 0) altered = k;
      }
    }
  }
  ASSERT_NE(altered, 0u) << "no pointer move during play to alter";
  GameRun replayed;
  ASSERT_EQ(Replay(journal, true, replayed), ReplayStatus::kDiverged);
  // Frame numbers count from 1: the altered frame is number altered + 1.
  const int check = static_cast<int>((altered + 1 + kReplayCheckEvery - 1) / kReplayCheckEvery *
                                     kReplayCheckEvery);
  const std::string text = ReplayDivergence();
  EXPECT_NE(text.find("frame " + std::to_string(check) + " (" + GameTimeText(check) + " into"),
            std::string::npos)
      << text << " (altered frame " << altered + 1 << ")";
}

TEST(ReplayFiles, DamagedForeignAndTruncatedFilesAreRefused) {
  ReplayJournal journal;
  journal.seed = 77;
  for (int f = 0; f < 200; ++f) {
    ReplayFrame frame;
    frame.events.push_back({static_cast<std::uint32_t>(f % 3), {EVENT_MOUSEMOVE, 0, f, 400}});
    JoystickSample sample;
    sample.ok = true;
    sample.values[0] = f % 50 == 0 ? 1.0f : 0.0f;
    frame.joystick.push_back({0, sample});
    frame.joystick.push_back({0, sample});
    if ((f + 1) % kReplayCheckEvery == 0) frame.check = 0x1234567890ABCDEFull + f;
    journal.frames.push_back(frame);
  }
  journal.tail.events.push_back({2, {EVENT_KEYDOWN, 27, 0, 0}});
  const std::vector<std::uint8_t> good = SerializeReplay(journal);
  ReplayJournal parsed;
  ASSERT_EQ(ParseReplay(good, parsed), ReplayError::kNone);
  EXPECT_EQ(parsed, journal);

  for (std::size_t at : {std::size_t{30}, good.size() / 2, good.size() - 5}) {
    std::vector<std::uint8_t> damaged = good;
    damaged[at] ^= 0x10;
    EXPECT_EQ(ParseReplay(damaged, parsed), ReplayError::kDamaged) << "byte " << at;
  }
  for (std::size_t size : {std::size_t{12}, std::size_t{40}, good.size() - 1}) {
    std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(size));
    EXPECT_EQ(ParseReplay(cut, parsed), ReplayError::kDamaged) << size << " bytes";
  }
  ReplayJournal other = journal;
  other.version = "zumbrix-3d 0.9";
  EXPECT_EQ(ParseReplay(SerializeReplay(other), parsed), ReplayError::kOtherVersion);
  EXPECT_EQ(ParseReplay({'P', 'N', 'G'}, parsed), ReplayError::kNotAReplay);
  EXPECT_EQ(parsed, journal);  // refusals leave the journal alone

  const auto folder = std::filesystem::temp_directory_path() / "zx_replay_refused";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "damaged.replay").string();
  std::vector<std::uint8_t> damaged = good;
  damaged[good.size() / 3] ^= 1;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(damaged.data()), static_cast<long>(damaged.size()));
  GameRunResult result = ReplayGame(path, true);
  EXPECT_EQ(result.ExitCode(), 2);
  EXPECT_NE(result.message.find("damaged"), std::string::npos) << result.message;
  result = ReplayGame((folder / "missing.replay").string(), true);
  EXPECT_EQ(result.ExitCode(), 2);
  EXPECT_NE(result.message.find("cannot be read"), std::string::npos) << result.message;
  std::filesystem::remove_all(folder);
}

}  // namespace
