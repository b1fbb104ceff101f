// main.cpp - Zumbrix - 3D Edition: the command line, the files of this run, start-up, the frame
// loop until the player quits, and the exit that saves the best score and the settings.
#include <cstdio>

#include "core/app.h"
#include "game/config/command_line.h"
#include "game/config/game_files.h"
#include "game/config/settings_store.h"
#include "game/frame_log.h"
#include "game/frame_loop.h"
#include "game/play/screen_name.h"
#include "game/replay/ghost.h"
#include "game/replay/replay_file.h"
#include "game/replay_run.h"
#include "game/startup.h"
#include "game/video_run.h"
#include "system/polled_input.h"
#include "system/startup_steps.h"

namespace {

// Read before RunApplication changes the current folder, so file names resolve where the player
// typed them.
CommandLine command_line;

// --replay: plays the file back and says how it ended (exit codes in replay_run.h).
int Replay() {
  GameRunResult result =
      ReplayGame(command_line.replayfile, command_line.headless, false, command_line.from_frame);
  if (!result.message.empty()) std::fprintf(stderr, "zumbrix: %s\n", result.message.c_str());
  if (result.exit == ReplayExit::kOk) std::printf("%s\n", result.Summary().c_str());
  return result.ExitCode();
}

// --ghost FILE: the recorded game that every game of this run races.
bool UseGhostFile(const std::string& path) {
  ReplayJournal journal;
  const ReplayError error = LoadReplay(path, journal);
  const RecordedGame* game = error == ReplayError::kNone ? RacedGame(journal) : nullptr;
  if (!game || !RaceGhost(*game, journal.player)) {
    std::fprintf(stderr, "zumbrix: %s: %s\n", path.c_str(),
                 error != ReplayError::kNone ? ReplayErrorText(error).c_str()
                                             : "the replay holds no ship's track to race");
    return false;
  }
  return true;
}

// --replay with --video: films the replay and says how it went (exit codes in video_run.h).
int Video() {
  VideoJob job;
  job.replay = command_line.replayfile;
  job.output = command_line.videofile;
  job.scale = VideoScale(command_line);
  job.progress_line = ErrorsGoToTerminal();
  job.progress_report = command_line.videoprogress;
  const VideoRunResult result = RenderReplayVideo(job);
  if (!result.message.empty()) std::fprintf(stderr, "zumbrix: %s\n", result.message.c_str());
  if (!result.summary.empty()) std::printf("zumbrix: %s\n", result.summary.c_str());
  return result.status;
}

int GameMain() {
  NoteStartupStep("main");
  const GameFiles files = LocateGameFiles(AppDir());
  switch (command_line.action) {
    case CommandLineAction::ShowHelp:
      std::fputs(HelpText(files).c_str(), stdout);
      return 0;
    case CommandLineAction::ShowVersion:
      std::printf("zumbrix %s\n", ProgramVersion());
      return 0;
    case CommandLineAction::ShowReplayInfo: {
      ReplayJournal journal;
      const ReplayError error = LoadReplay(command_line.replayfile, journal);
      if (error != ReplayError::kNone) {
        std::fprintf(stderr, "zumbrix: %s: %s\n", command_line.replayfile.c_str(),
                     ReplayErrorText(error).c_str());
        return 2;
      }
      std::fputs(ReplayInfoText(journal).c_str(), stdout);
      return 0;
    }
    case CommandLineAction::Misuse:
      std::fprintf(stderr, "zumbrix: %s\n%s", command_line.problem.c_str(), UsageText().c_str());
      return 2;
    case CommandLineAction::Play:
      break;
  }
  // A recording that cannot be saved is said before the player plays, not after.
  if (!command_line.recordfile.empty()) {
    std::string problem;
    if (!CanSaveReplay(command_line.recordfile, &problem)) {
      std::fprintf(stderr, "zumbrix: %s\n", problem.c_str());
      return 2;
    }
  }
  if (!command_line.framelogfile.empty()) {
    std::string problem;
    if (!StartFrameLog(command_line.framelogfile, &problem)) {
      std::fprintf(stderr, "zumbrix: %s\n", problem.c_str());
      return 2;
    }
  }
  UseGameFiles(files);
  LoadSettings(files.settingsfile);
  if (!OverrideSettings(command_line.overrides)) return 2;
  ApplyPictureSettings();
  UseRunInputChoices();
  if (!command_line.videofile.empty()) return Video();
  if (!command_line.replayfile.empty()) {
    // A replay opened as a document is watched as the replay screen.
    const ModalScreenScope screen(command_line.document_file.empty() ? CurrentModalScreen()
                                                                     : ModalScreen::Replay);
    return Replay();
  }
  if (!command_line.ghost_file.empty() && !UseGhostFile(command_line.ghost_file)) return 2;
  // A replay the program was opened with is watched from the title, where G races it.
  if (!command_line.document_file.empty()) OpenFileLater(command_line.document_file);

  // Every game is recorded, so that the one that raised the best score can be kept as
  // best.replay beside it; --record also keeps all of this run's games.
  const std::string& score = files.scorefile;
  const std::string best =
      score.empty() ? std::string() : score.substr(0, score.find_last_of('/') + 1) + "best.replay";
  GameRunResult result = RecordGame(command_line.recordfile, launchseed(), best);
  if (!result.message.empty()) std::fprintf(stderr, "zumbrix: %s\n", result.message.c_str());
  SaveSettings();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  command_line = ParseCommandLine(argc, argv);
  return RunApplication(argc, argv, GameMain);
}
