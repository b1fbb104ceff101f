// Fuzz target: arbitrary bytes into the replay file's parsers, which must accept or refuse them
// with a reason, never crash, hang or allocate without bound.
//
// What the bytes are is chosen by their first byte:
//   'Z'    a whole file (every replay starts so). Its last four bytes are made the CRC of what
//          comes before them, so that a mutated file gets past the checksum into the sections;
//          a file the parser accepts must survive being written and parsed again unchanged, and
//          so must each game's input
//   odd    the rest is a game's input stream: decoded, written again and decoded again, the
//          second writing must equal the first
//   even   the rest is a game's snapshot, checked (no game is needed for that)
//
// Real replays seed the corpus: at start-up the target plays two short games of the real game on
// the headless harness (null graphics, a scratch folder) and writes their recording, and each game
// alone, into the corpus folders it is given, replacing the seeds of an earlier start (a seed of
// another version would stop at the header). At the end it says how many files reached the
// sections (past the header and the CRC) and how many were accepted.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/config/key_bindings.h"
#include "game/play/globals.h"
#include "game/play/screen_name.h"
#include "game/replay/replay.h"
#include "game/replay/replay_file.h"
#include "game/replay/replay_input.h"
#include "game/replay/replay_snapshot.h"
#include "harness/harness.h"
#include "system/key_codes.h"
#include "tests/game/aim_script.h"

namespace fs = std::filesystem;

namespace {

struct Counts {
  unsigned long files = 0;     // inputs taken as whole files
  unsigned long sections = 0;  // of those, read past the header and the CRC
  unsigned long accepted = 0;  // of those, parsed whole
} counts;

void Report() {
  std::fprintf(stderr, "replay files: %lu, past the CRC into the sections: %lu, accepted: %lu\n",
               counts.files, counts.sections, counts.accepted);
}

// The input stream written again is stable: what decodes from it writes the same bytes.
void CheckInput(const std::vector<std::uint8_t>& input) {
  std::vector<ReplayFrame> frames;
  ReplayFrame tail;
  if (!DecodeReplayInput(input, frames, tail)) return;
  const std::vector<std::uint8_t> once = EncodeReplayInput(frames, tail);
  std::vector<ReplayFrame> again;
  ReplayFrame again_tail;
  if (!DecodeReplayInput(once, again, again_tail)) std::abort();
  if (again.size() != frames.size()) std::abort();
  if (EncodeReplayInput(again, again_tail) != once) std::abort();
}

void CheckFile(std::vector<std::uint8_t> file) {
  ++counts.files;
  if (file.size() >= 4) {
    const std::size_t body = file.size() - 4;
    const std::uint32_t crc = ReplayChecksum(file.data(), body);
    for (int i = 0; i < 4; ++i) file[body + i] = static_cast<std::uint8_t>(crc >> (8 * i));
  }
  // This version's header, as the writer makes it: a file that starts with it and holds a CRC
  // after it is read on into its sections.
  static const std::vector<std::uint8_t> empty = SerializeReplay(ReplayJournal{});
  if (file.size() >= empty.size() && std::equal(empty.begin(), empty.end() - 4, file.begin())) {
    ++counts.sections;
  }
  ReplayJournal journal;
  if (ParseReplay(file, journal) != ReplayError::kNone) return;
  ++counts.accepted;
  const std::vector<std::uint8_t> again = SerializeReplay(journal);
  ReplayJournal reparsed;
  if (ParseReplay(again, reparsed) != ReplayError::kNone) std::abort();
  if (!(reparsed == journal) || SerializeReplay(reparsed) != again) std::abort();
  for (const RecordedGame& game : journal.games) CheckInput(game.input);
}

void Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

// Two games of the real game, recorded: the first with the default keys, abandoned with F1; the
// second with fire and the pause moved (so that its choices are kept) and paused once, cut short
// by the program's end. The aiming script plays both, so the ship moves and scores.
ReplayJournal RecordTwoGames(const fs::path& scratch) {
  fs::create_directories(scratch / "data");
  const fs::path built = fs::read_symlink("/proc/self/exe").parent_path() / "data";
  for (const auto& entry : fs::directory_iterator(built)) {
    if (entry.path().extension() == ".ogg") {
      fs::create_symlink(entry.path(), scratch / "data" / entry.path().filename());
    }
  }
  HarnessOptions options;
  options.folder = scratch.string();
  options.null_graphics = true;
  StartRecording();
  HarnessStart(options);
  AimScript aim;
  aim.restart = false;
  HarnessClick(1);
  for (int frame = 0; frame < 700; ++frame) {
    aim.Step();
    HarnessFrame();
  }
  HarnessTapKey(static_cast<int>(KeyCode::kF1));
  HarnessRun(30);
  InputChoices moved;
  moved.bindings.keys[static_cast<int>(GameAction::kFire)] = 'F';
  moved.bindings.keys[static_cast<int>(GameAction::kPause)] = 'P';
  moved.pause_on_focus_loss = false;
  UseInputChoices(moved);
  // The pause screen is a loop of its own: the key that ends it is tapped from its flips.
  int paused_flips = 0;
  HarnessOnFlip([&paused_flips] {
    if (CurrentModalScreen() == ModalScreen::Pause && ++paused_flips == 30) HarnessTapKey('P');
  });
  HarnessClick(1);
  for (int frame = 0; frame < 500; ++frame) {
    aim.Step();
    if (frame == 400) HarnessTapKey('P');
    HarnessFrame();
  }
  RecordedRun run = StopRecording();
  HarnessStop();
  UseInputChoices(InputChoices{});
  return run.journal;
}

void Seed(const std::vector<fs::path>& folders) {
  if (folders.empty()) return;
  // The harness runs the game in its folder; the corpus folders were named from here.
  const fs::path here = fs::current_path();
  const fs::path scratch =
      fs::temp_directory_path() / ("zx_fuzz_replay_" + std::to_string(getpid()));
  const ReplayJournal journal = RecordTwoGames(scratch);
  fs::current_path(here);
  fs::remove_all(scratch);
  for (const fs::path& folder : folders) {
    Write(folder / "seed-run.replay", SerializeReplay(journal));
    for (std::size_t i = 0; i < journal.games.size(); ++i) {
      ReplayJournal one;
      one.games.push_back(journal.games[i]);
      Write(folder / ("seed-game" + std::to_string(i) + ".replay"), SerializeReplay(one));
    }
  }
  std::fprintf(stderr, "seeded with a recording of %zu games\n", journal.games.size());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  std::vector<fs::path> folders;
  for (int i = 1; i < *argc; ++i) {
    std::error_code error;
    if ((*argv)[i][0] != '-' && fs::is_directory((*argv)[i], error)) folders.push_back((*argv)[i]);
  }
  Seed(folders);
  std::atexit(Report);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::vector<std::uint8_t> rest(data + 1, data + size);
  if (data[0] == 'Z') {
    CheckFile(std::vector<std::uint8_t>(data, data + size));
  } else if (data[0] & 1) {
    CheckInput(rest);
  } else {
    CheckGameSnapshot(rest);
  }
  return 0;
}
