// The replay file and its input stream: games survive the file, bad files of every kind are
// refused with their own reason and without reading them whole, the parse of a large file holds
// a small multiple of it, and the stream stays compact.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <thread>
#include <vector>

#include "game/play/entities.h"
#include "game/replay/replay.h"
#include "game/replay/replay_file.h"
#include "game/replay/replay_snapshot.h"
#include "game/replay/ship_track.h"
#include "game/replay_run.h"
#include "harness/harness.h"
#include "system/event.h"
#include "tests/game/temp_folder.h"

// --- every allocation of the test program is counted while `counting` is on ------------------

namespace {
std::atomic<bool> counting{false};
std::atomic<long long> live{0}, peak{0};

void Count(void* p, bool allocated) {
  if (!p || !counting.load(std::memory_order_relaxed)) return;
  const auto size = static_cast<long long>(malloc_usable_size(p));
  const long long now = live.fetch_add(allocated ? size : -size) + (allocated ? size : -size);
  long long top = peak.load();
  while (now > top && !peak.compare_exchange_weak(top, now)) {
  }
}

// The most bytes held at once, above what was held before, while `work` runs.
template <class F>
long long PeakBytes(F&& work) {
  live = 0;
  peak = 0;
  counting = true;
  work();
  counting = false;
  return peak.load();
}
}  // namespace

// The replacements pair malloc with free; GCC cannot see that they are a matched pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  Count(p, true);
  return p;
}
void operator delete(void* p) noexcept {
  Count(p, false);
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  Count(p, false);
  std::free(p);
}

namespace {

namespace fs = std::filesystem;

ReplayEvent Event(std::uint32_t stamp, int id, int data, int x = 0, int y = 0) {
  return {stamp, {id, data, x, y}};
}

RecordedGame Game(const std::vector<std::uint8_t>& snapshot, const std::vector<ReplayFrame>& frames,
                  const ReplayFrame& tail, GameEnd end) {
  RecordedGame game;
  game.snapshot = snapshot;
  game.frames = static_cast<std::uint32_t>(frames.size());
  game.end = end;
  game.input = EncodeReplayInput(frames, tail);
  return game;
}

std::vector<ReplayFrame> Frames(int count) {
  std::vector<ReplayFrame> frames;
  for (int f = 0; f < count; ++f) {
    ReplayFrame frame;
    frame.events.push_back(Event(static_cast<std::uint32_t>(f % 3), EVENT_MOUSEMOVE, 0, f, 400));
    if (f % 7 == 0) frame.events.push_back(Event(5, EVENT_KEYDOWN, 32));
    if (f % 7 == 1) frame.events.push_back(Event(3, EVENT_KEYUP, 32));
    if (f % 11 == 0) frame.events.push_back(Event(6, EVENT_MOUSEDOWN, 1, f, 400));
    if (f % 11 == 2) frame.events.push_back(Event(6, EVENT_MOUSEUP, 1, f + 3, 400));
    if (f % 13 == 0) frame.events.push_back(Event(7, EVENT_APPSUSPEND, 0));
    if (f % 50 == 0) {
      JoystickSample sample;
      sample.ok = true;
      sample.values[0] = f % 100 == 0 ? 1.0f : -0.5f;
      sample.buttons = static_cast<unsigned>(f / 50);
      frame.joystick.push_back({static_cast<std::uint32_t>(f % 4), 0, sample});
      frame.joystick.push_back({9, 3, JoystickSample{}});
    }
    if ((f + 1) % kReplayCheckEvery == 0) frame.check = 0x1234567890ABCDEFull + f;
    frames.push_back(frame);
  }
  return frames;
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

// Files, each with a real game's snapshot, taken once from the start-up of a game.
class ReplayFile : public TempFolderTest {
 public:
  static void SetUpTestSuite() {
    const fs::path folder = fs::temp_directory_path() / ("zx_snapshot_" + std::to_string(getpid()));
    fs::create_directories(folder);
    HarnessOptions options;
    options.folder = folder.string();
    options.null_graphics = true;
    HarnessStart(options);
    HarnessRun(2);
    snapshot = new std::vector<std::uint8_t>(TakeGameSnapshot());
    HarnessStop();
    fs::remove_all(folder);
  }
  static void TearDownTestSuite() { delete snapshot; }

  static ReplayJournal TwoGames() {
    ReplayJournal journal;
    journal.games.push_back(Game(*snapshot, Frames(200), {}, GameEnd::kTitle));
    ReplayFrame tail;
    tail.events.push_back(Event(2, EVENT_KEYDOWN, 27));
    journal.games.push_back(Game(*snapshot, Frames(30), tail, GameEnd::kProgramEnd));
    return journal;
  }

  static std::vector<std::uint8_t>* snapshot;
};
std::vector<std::uint8_t>* ReplayFile::snapshot = nullptr;

TEST_F(ReplayFile, GamesSurviveTheFileAndDamagedForeignOlderAndCutFilesAreRefused) {
  ASSERT_TRUE(CheckGameSnapshot(*snapshot));
  const ReplayJournal journal = TwoGames();
  const std::vector<std::uint8_t> good = SerializeReplay(journal);
  ReplayJournal parsed;
  ASSERT_EQ(ParseReplay(good, parsed), ReplayError::kNone);
  EXPECT_EQ(parsed, journal);
  std::vector<ReplayFrame> frames;
  ReplayFrame tail;
  ASSERT_TRUE(DecodeReplayInput(parsed.games[0].input, frames, tail));
  EXPECT_EQ(frames, Frames(200));
  ASSERT_TRUE(DecodeReplayInput(parsed.games[1].input, frames, tail));
  ASSERT_EQ(tail.events.size(), 1u);
  EXPECT_EQ(tail.events[0].event.data, 27);

  for (std::size_t at : {std::size_t{30}, good.size() / 2, good.size() - 5}) {
    std::vector<std::uint8_t> damaged = good;
    damaged[at] ^= 0x10;
    EXPECT_EQ(ParseReplay(damaged, parsed), ReplayError::kDamaged) << "byte " << at;
  }
  for (std::size_t size : {std::size_t{11}, std::size_t{40}, good.size() - 1}) {
    std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(size));
    EXPECT_EQ(ParseReplay(cut, parsed), ReplayError::kDamaged) << size << " bytes";
  }
  ReplayJournal other = journal;
  other.version = "zumbrix-3d 0.9";
  EXPECT_EQ(ParseReplay(SerializeReplay(other), parsed), ReplayError::kOtherVersion);
  std::vector<std::uint8_t> older = good, newer = good;
  older[8] = 3;  // the format number, after the magic
  newer[8] = 6;
  EXPECT_EQ(ParseReplay(older, parsed), ReplayError::kOlderVersion);
  EXPECT_NE(ReplayErrorText(ReplayError::kOlderVersion).find("older version"), std::string::npos);
  EXPECT_EQ(ParseReplay(newer, parsed), ReplayError::kOtherVersion);
  EXPECT_EQ(ParseReplay({'P', 'N', 'G'}, parsed), ReplayError::kNotAReplay);
  EXPECT_EQ(parsed, journal);  // refusals leave the journal alone

  // Games that cannot come from a recording: one after a game the program ended, a game back at
  // the title with input after its last flip, a frame count the input does not have, a snapshot
  // with a ship frame the image lacks.
  const auto refused = [&](const ReplayJournal& bad) {
    return ParseReplay(SerializeReplay(bad), parsed) == ReplayError::kDamaged;
  };
  ReplayJournal swapped = journal;
  std::swap(swapped.games[0], swapped.games[1]);
  EXPECT_TRUE(refused(swapped));
  ReplayJournal tailed = journal;
  tailed.games[1].end = GameEnd::kTitle;
  EXPECT_TRUE(refused(tailed));
  ReplayJournal miscounted = journal;
  miscounted.games[0].frames += 1;
  EXPECT_TRUE(refused(miscounted));
  ReplayJournal garbled = journal;
  garbled.games[0].snapshot.back() ^= 0x55;
  garbled.games[0].snapshot.push_back(0);
  EXPECT_TRUE(refused(garbled));
}

// The bytes with their checksum made anew over everything before it.
std::vector<std::uint8_t> Resealed(std::vector<std::uint8_t> bytes) {
  bytes.erase(bytes.end() - 4, bytes.end());
  const std::uint32_t crc = ReplayChecksum(bytes.data(), bytes.size());
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
  return bytes;
}

TEST_F(ReplayFile, WhoPlayedWhenTheScoreAndTheWaveSurviveTheFileAndAreNamedByTheInfo) {
  ReplayJournal journal = TwoGames();
  journal.player = "Ada L.";
  journal.games[0].played = 1796000000;
  journal.games[0].score = 1250;
  journal.games[0].wave = 4;
  journal.games[1].played = 1796000600;
  journal.games[1].score = 300;
  const std::vector<std::uint8_t> bytes = SerializeReplay(journal);
  ReplayJournal parsed;
  ASSERT_EQ(ParseReplay(bytes, parsed), ReplayError::kNone);
  EXPECT_EQ(parsed, journal);
  EXPECT_EQ(ReplayInfoText(parsed), "name: Ada L.\ndate: " + PlayedText(1796000000) +
                                        "\nversion: " + kGameVersion +
                                        "\nscore: 300\nframes: 230\ngames: 2\n");
  EXPECT_EQ(PlayedText(0), "unknown");

  // A name with a character no name has is damage, even under a good checksum.
  std::vector<std::uint8_t> named = bytes;
  const std::size_t at = 8 + 2 + 2 + std::string(kGameVersion).size() + 1;
  ASSERT_EQ(named[at], 'A');
  named[at] = '#';
  EXPECT_EQ(ParseReplay(Resealed(named), parsed), ReplayError::kDamaged);
}

TEST_F(ReplayFile, SectionsOfALaterTrackAreSkipped) {
  const ReplayJournal journal = TwoGames();
  std::vector<std::uint8_t> bytes = SerializeReplay(journal);
  const std::uint8_t later[] = {0x47, 5, 0, 0, 0, 1, 2, 3, 4, 5};  // tag 0x47, 5 bytes
  bytes.insert(bytes.end() - 4, std::begin(later), std::end(later));
  ReplayJournal parsed;
  ASSERT_EQ(ParseReplay(Resealed(bytes), parsed), ReplayError::kNone);
  EXPECT_EQ(parsed, journal);
}

TEST_F(ReplayFile, AFileWithNoGameOrTwoChoicesForOneGameIsRefusedAsDamaged) {
  // A game with keys of its own: its choices section is what its file has more than the same
  // game's with the defaults. Written twice, the second would overrule the first.
  ReplayJournal plain;
  plain.games.push_back(TwoGames().games[0]);
  ReplayJournal rebound = plain;
  rebound.games[0].choices.bindings.keys[static_cast<int>(GameAction::kQuit)] = 'Q';
  const std::vector<std::uint8_t> without = SerializeReplay(plain);
  std::vector<std::uint8_t> with = SerializeReplay(rebound);
  const std::vector<std::uint8_t> section(with.begin() + static_cast<long>(without.size()) - 4,
                                          with.end() - 4);
  ReplayJournal parsed;
  ASSERT_EQ(ParseReplay(with, parsed), ReplayError::kNone);
  with.insert(with.end() - 4, section.begin(), section.end());
  EXPECT_EQ(ParseReplay(Resealed(with), parsed), ReplayError::kDamaged);
  const fs::path twice = folder_ / "twice.replay", empty = folder_ / "empty.replay";
  WriteBytes(twice, Resealed(with));
  ASSERT_TRUE(SaveReplay(empty.string(), ReplayJournal{}));
  // As the program says it: refused with status 2, never played nor "diverged".
  const struct {
    fs::path path;
    std::string words;
  } refusals[] = {{twice, "damaged"}, {empty, "holds no game"}};
  for (const auto& refusal : refusals) {
    const GameRunResult result = ReplayGame(refusal.path.string(), true);
    EXPECT_EQ(result.ExitCode(), 2) << refusal.path;
    EXPECT_NE(result.message.find(refusal.words), std::string::npos) << result.message;
  }
}

// A header this version reads, for files that are refused after it.
std::vector<std::uint8_t> Header() {
  std::vector<std::uint8_t> bytes = SerializeReplay(ReplayJournal{});
  bytes.erase(bytes.end() - 4, bytes.end());  // drop the checksum
  return bytes;
}

TEST_F(ReplayFile, LargeFilesStreamsFoldersAndDevicesAreRefusedWithoutBeingReadWhole) {
  ReplayJournal journal;
  // Past the limit: a sparse file, refused by its size before it is read.
  const fs::path large = folder_ / "large.replay";
  WriteBytes(large, Header());
  ASSERT_EQ(truncate(large.c_str(), static_cast<off_t>(kMaxReplayBytes) + 1), 0);
  const long long held =
      PeakBytes([&] { EXPECT_EQ(LoadReplay(large.string(), journal), ReplayError::kTooLarge); });
  EXPECT_LT(held, 1 << 20) << "the file was read";

  // A stream past the limit, read up to it and no further (the writer then finds the pipe closed).
  const auto sigpipe = signal(SIGPIPE, SIG_IGN);
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  bool written = true;  // the writer got all of its 65 MB into the pipe
  std::thread writer([fd = pipe_ends[1], &written] {
    std::vector<std::uint8_t> header = Header();
    const std::vector<std::uint8_t> zeros(1 << 16);
    bool open = write(fd, header.data(), header.size()) > 0;
    for (std::size_t sent = 0; open && sent < kMaxReplayBytes + (1 << 20); sent += zeros.size()) {
      open = write(fd, zeros.data(), zeros.size()) == static_cast<ssize_t>(zeros.size());
    }
    written = open;
    close(fd);
  });
  const ReplayError streamed = LoadReplay("/proc/self/fd/" + std::to_string(pipe_ends[0]), journal);
  close(pipe_ends[0]);  // the writer, blocked past the limit, ends on the broken pipe
  writer.join();
  signal(SIGPIPE, sigpipe);
  EXPECT_EQ(streamed, ReplayError::kTooLarge);
  EXPECT_FALSE(written) << "the stream was read to its end";

  EXPECT_EQ(LoadReplay("/dev/zero", journal), ReplayError::kNotAReplay);
  EXPECT_EQ(LoadReplay("/", journal), ReplayError::kNotAFile);
  EXPECT_EQ(LoadReplay((folder_ / "missing.replay").string(), journal), ReplayError::kCannotRead);

  // As the program says it: status 2 and the reason, for each.
  const struct {
    std::string path, words;
  } refusals[] = {{large.string(), "larger than 64 MB"},
                  {"/dev/zero", "not a Zumbrix replay"},
                  {"/", "a folder"},
                  {(folder_ / "missing.replay").string(), "cannot be read"}};
  for (const auto& refusal : refusals) {
    const GameRunResult result = ReplayGame(refusal.path, true);
    EXPECT_EQ(result.ExitCode(), 2) << refusal.path;
    EXPECT_NE(result.message.find(refusal.words), std::string::npos) << result.message;
  }
}

TEST_F(ReplayFile, ParsingAFileHoldsAtMostThreeTimesItsSizeAndStartingItCopiesNothing) {
  // 16 MB of empty frames, each one byte.
  constexpr std::size_t kFrames = 16u << 20;
  ReplayJournal journal;
  RecordedGame game;
  game.snapshot = *snapshot;
  game.frames = kFrames;
  game.input.assign(kFrames, 0);
  game.input.push_back(9);  // the empty tail
  game.end = GameEnd::kProgramEnd;
  journal.games.push_back(std::move(game));
  const fs::path path = folder_ / "empty_frames.replay";
  ASSERT_TRUE(SaveReplay(path.string(), journal));
  journal = ReplayJournal{};
  const auto size = static_cast<long long>(fs::file_size(path));

  ReplayError error = ReplayError::kNone;
  const long long parsing = PeakBytes([&] { error = LoadReplay(path.string(), journal); });
  ASSERT_EQ(error, ReplayError::kNone);
  EXPECT_LE(parsing, 3 * size) << "a file of " << size << " bytes";
  const long long starting = PeakBytes([&] { StartReplay(std::move(journal)); });
  StopReplay();
  EXPECT_LT(starting, size / 16);
}

// --- the input stream ------------------------------------------------------------------------

TEST(ReplayInput, EmptyFramesTakeAByteAPointerMoveAFewAndMovesAtOnePumpPointOne) {
  std::vector<ReplayFrame> frames(1000);
  EXPECT_EQ(EncodeReplayInput(frames, {}).size(), 1001u);

  // One move a frame, as the pointer follows the mouse in play.
  for (int f = 0; f < 1000; ++f) {
    frames[f].events.push_back(Event(1, EVENT_MOUSEMOVE, 0, 300 + f % 40, 440));
  }
  EXPECT_LE(EncodeReplayInput(frames, {}).size(), 5u * 1000 + 8);

  // Three moves taken at one pump point are the last of them; one at the next is kept.
  ReplayFrame frame;
  for (int x : {100, 120, 140}) frame.events.push_back(Event(4, EVENT_MOUSEMOVE, 0, x, 200));
  frame.events.push_back(Event(5, EVENT_MOUSEMOVE, 0, 150, 210));
  std::vector<ReplayFrame> decoded;
  ReplayFrame tail;
  ASSERT_TRUE(DecodeReplayInput(EncodeReplayInput({frame}, {}), decoded, tail));
  ASSERT_EQ(decoded.size(), 1u);
  const std::vector<ReplayEvent> kept = {Event(4, EVENT_MOUSEMOVE, 0, 140, 200),
                                         Event(5, EVENT_MOUSEMOVE, 0, 150, 210)};
  EXPECT_EQ(decoded[0].events, kept);

  // A joystick change keeps only the fields that changed.
  JoystickSample pushed;
  pushed.ok = true;
  JoystickSample left = pushed;
  left.values[0] = -1.0f;
  ReplayFrame pad;
  pad.joystick = {{0, 0, pushed}, {3, 0, left}};
  const std::size_t both = EncodeReplayInput({pad}, {}).size();
  pad.joystick.pop_back();
  EXPECT_LE(both - EncodeReplayInput({pad}, {}).size(), 8u);
}

TEST(ReplayInput, ItemsThatMakeNoSenseAreRefused) {
  std::vector<ReplayFrame> frames;
  ReplayFrame tail;
  const std::vector<std::vector<std::uint8_t>> bad = {
      {},                                 // no tail
      {0, 0},                             // frames without the tail's end
      {9, 0},                             // bytes after the tail
      {42, 9},                            // an unknown tag
      {8, 1, 2, 3, 4, 5, 6, 7, 8, 9},     // a check in the tail
      {7, 0, 16, 1, 1, 9},                // a port past the last
      {7, 0, 0, 4, 0, 0, 0xC0, 0x7F, 9},  // an axis that is not a number
      {7, 0, 0, 2, 5, 9},                 // buttons held on a pad that is not there
  };
  for (const std::vector<std::uint8_t>& bytes : bad) {
    EXPECT_FALSE(DecodeReplayInput(bytes, frames, tail)) << testing::PrintToString(bytes);
  }
  EXPECT_TRUE(DecodeReplayInput({0, 0, 9}, frames, tail));
  EXPECT_EQ(frames.size(), 2u);
}

// A track reads back point for point, its flags (shown, hyperspace) with it; a flag byte with a
// bit no writer sets is damage, not a point.
TEST(ShipTrack, ATrackReadsBackAsWrittenAndAnUnknownFlagIsRefused) {
  const std::vector<ShipPoint> points = {{320, 400, true, false, 0},
                                         {320, 400, true, false, 0},
                                         {330, 395, true, true, 0},
                                         {330, 395, false, false, 150},
                                         {100, 60, true, false, 2150}};
  ShipTrackWriter writer;
  std::vector<std::size_t> sizes;
  for (const ShipPoint& point : points) {
    writer.Add(point);
    sizes.push_back(writer.Size());
  }
  EXPECT_EQ(sizes[1], sizes[0] + 1) << "a point that stands still is its flags alone";
  const std::vector<std::uint8_t> bytes = writer.TakeBytes();
  std::vector<ShipPoint> read;
  ASSERT_TRUE(DecodeShipTrack(bytes, read));
  EXPECT_EQ(read, points);
  for (std::uint8_t unknown : {32, 64, 128}) {
    std::vector<std::uint8_t> flagged = bytes;
    flagged[sizes[0]] |= unknown;  // the second point's flags
    EXPECT_FALSE(DecodeShipTrack(flagged, read)) << int{unknown};
  }
}

TEST(ReplayRecordFile, AFileThatCannotBeWrittenIsToldBeforeAndNothingIsLeft) {
  const fs::path folder = fs::temp_directory_path() / ("zx_record_" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::string problem;
  EXPECT_TRUE(CanSaveReplay((folder / "game.replay").string(), &problem)) << problem;
  EXPECT_TRUE(fs::is_empty(folder));
  EXPECT_FALSE(CanSaveReplay((folder / "no" / "game.replay").string(), &problem));
  EXPECT_NE(problem.find("No such file"), std::string::npos) << problem;
  EXPECT_FALSE(CanSaveReplay(folder.string(), &problem));
  EXPECT_NE(problem.find("folder"), std::string::npos) << problem;
  fs::remove_all(folder);
}

}  // namespace
