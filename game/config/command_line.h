// command_line.h - the program's options: one table row each (name, argument, help line, what
// it does), parsed once at start before anything else runs. A word that is no option names a
// replay to watch in a window, as a file manager opening a saved replay does.
//
// Options come as "--name", "--name value" or "--name=value"; an option the table does not know,
// a missing, empty or surplus argument, an option where an argument is due ("--record --window"),
// a value the setting does not take, or a second word that is no option is misuse: the problem
// (naming the option) and the usage go to stderr and the program ends with status 2. Options that
// change a setting do so for the run only (settings_store.h). Adding an option is one row in the
// table plus, when it keeps a value, one field in CommandLine. Pure: prints nothing.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "game/config/game_files.h"
#include "game/config/settings_store.h"

enum class CommandLineAction {
  Play,            // start the game
  ShowHelp,        // print the help and exit 0
  ShowVersion,     // print the version and exit 0
  ShowReplayInfo,  // print what `replayfile` says of itself and exit (2 when it is refused)
  Misuse,          // print `problem` and the usage on stderr and exit 2
};

struct CommandLine {
  CommandLineAction action = CommandLineAction::Play;
  std::string problem;                     // Misuse: what was wrong, one line
  std::vector<SettingOverride> overrides;  // settings for this run only, in the order given
  std::string recordfile;                  // --record: where this run's replay is written
  std::string replayfile;  // --replay, --replay-info or a replay named alone: the one to play back
  std::string document_file;   // a replay named without an option (in `replayfile` too, headless)
  std::string ghost_file;      // --ghost FILE: the replay whose ship is this run's ghost
  bool headless = false;       // --headless: the replay runs unseen, as fast as it can
  int from_frame = -1;         // --from: the replay's frame to start at; -1: its start
  std::string framelogfile;    // --frame-log: where each frame's times are written
  std::string videofile;       // --video: the video the replay is made into
  std::string videoscale;      // --video-scale as given; empty: 1
  bool videoprogress = false;  // --video-progress: progress lines on stdout
};

// The --video-scale asked for: 1 to 4 (1 when not given), or 0 for anything else.
int VideoScale(const CommandLine& line);

struct OptionRow {
  const char* name;       // "--name"
  const char* shortname;  // "-n", or null
  const char* argument;   // what the argument is called in the help ("FILE"), or null for none
  const char* help;       // one line
  // Records the option; `argument` is empty for an option that takes none. A file name is kept
  // as AbsoluteFile(argument), since the program later changes its current folder.
  void (*apply)(CommandLine& line, const std::string& argument);
  bool optional = false;  // the argument may be left out (the next word is then none of it)
};

// `path` made absolute against the current folder (the one the program was started in while the
// command line is read).
std::string AbsoluteFile(const std::string& path);

// Every option, in the order the help lists them.
std::span<const OptionRow> OptionRows();
// Reads argv[1..argc-1]. A help or version request wins over any misuse after it.
CommandLine ParseCommandLine(int argc, const char* const* argv);

// The frame at a time into a replay given as "M:SS", "M:SS.ss" or seconds ("90"); -1 when the
// text is none of these.
int ReplayTimeFrame(const std::string& text);
// The version of the program ("1.0.0").
const char* ProgramVersion();
// "Usage: zumbrix [OPTION]..." and the options, their descriptions in one column and wrapped
// within 79 characters.
std::string UsageText();
// The usage, what the game is, and where its files are for this run.
std::string HelpText(const GameFiles& files);
