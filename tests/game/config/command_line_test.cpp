// The command line: the parser's outcomes, and the real program's --help, --version and misuse
// (exit statuses and which stream the text goes to), including an installed copy finding its data
// from a moved prefix.
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "game/config/command_line.h"
#include "game/replay/replay_file.h"
#include "tests/game/temp_folder.h"

namespace {

namespace fs = std::filesystem;

CommandLine Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "zumbrix");
  return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLineParse, OptionsGiveTheirActionsAndMisuseNamesTheFirstProblem) {
  EXPECT_EQ(Parse({}).action, CommandLineAction::Play);
  EXPECT_EQ(Parse({"--help"}).action, CommandLineAction::ShowHelp);
  EXPECT_EQ(Parse({"-h"}).action, CommandLineAction::ShowHelp);
  EXPECT_EQ(Parse({"--version"}).action, CommandLineAction::ShowVersion);

  CommandLine bad = Parse({"--frobnicate", "--other"});
  EXPECT_EQ(bad.action, CommandLineAction::Misuse);
  EXPECT_NE(bad.problem.find("--frobnicate"), std::string::npos) << bad.problem;
  bad = Parse({"level3.zxreplay", "level4"});  // one replay may be named alone, not two
  EXPECT_EQ(bad.action, CommandLineAction::Misuse);
  EXPECT_NE(bad.problem.find("level4"), std::string::npos) << bad.problem;
  bad = Parse({"--version=2"});
  EXPECT_EQ(bad.action, CommandLineAction::Misuse);
  EXPECT_NE(bad.problem.find("no argument"), std::string::npos) << bad.problem;
  EXPECT_EQ(Parse({"-"}).action, CommandLineAction::Misuse);

  // Asking for help is answered even after a mistake.
  EXPECT_EQ(Parse({"--frobnicate", "--help"}).action, CommandLineAction::ShowHelp);
}

TEST(CommandLineParse, AReplayNamedAloneIsWatchedInAWindowAndTheGhostMayComeFromAFile) {
  // Opened from the desktop: the game in a window, the replay to be watched from its title.
  CommandLine line = Parse({"--flat", "run.zxreplay"});
  ASSERT_EQ(line.action, CommandLineAction::Play) << line.problem;
  EXPECT_EQ(line.document_file, AbsoluteFile("run.zxreplay"));
  EXPECT_TRUE(line.replayfile.empty()) << "the run would end with the replay, never raced";
  EXPECT_EQ(Parse({"run.zxreplay", "--headless"}).replayfile, AbsoluteFile("run.zxreplay"));
  Settings run;
  for (const auto& [key, value] : line.overrides) ApplySetting(run, key, value);
  EXPECT_EQ(run.display, DisplayMode::Window);
  EXPECT_EQ(run.colours, ColourMode::Flat);
  EXPECT_EQ(Parse({"a.zxreplay", "--replay", "b.zxreplay"}).action, CommandLineAction::Misuse);

  line = Parse({"--ghost", "--window"});  // as before: the best game's ghost
  EXPECT_EQ(line.action, CommandLineAction::Play);
  EXPECT_TRUE(line.ghost_file.empty());
  line = Parse({"--ghost", "rival.zxreplay"});
  EXPECT_EQ(line.ghost_file, AbsoluteFile("rival.zxreplay"));
  EXPECT_TRUE(line.replayfile.empty()) << "the ghost's file is no replay to watch";
  EXPECT_EQ(Parse({"--replay-info", "x.zxreplay"}).action, CommandLineAction::ShowReplayInfo);
}

TEST(CommandLineParse, DisplayOptionsOverrideTheSettingsForTheRun) {
  CommandLine line =
      Parse({"--desktop", "--scale", "integer", "--window", "--stereo", "side-by-side-half"});
  ASSERT_EQ(line.action, CommandLineAction::Play);
  Settings run;
  for (const auto& [key, value] : line.overrides) {
    EXPECT_EQ(ApplySetting(run, key, value), SettingResult::Set) << key << " = " << value;
  }
  EXPECT_EQ(run.display, DisplayMode::Window);  // the last one given wins
  EXPECT_EQ(run.scale, ScalePolicy::Integer);
  EXPECT_EQ(run.stereo, StereoMode::SideBySideHalf);
  // Every stereo mode goes by its own name.
  for (StereoMode mode : {StereoMode::Off, StereoMode::SideBySide, StereoMode::SideBySideHalf,
                          StereoMode::TopBottom}) {
    line = Parse({"--stereo", StereoModeName(mode)});
    ASSERT_EQ(line.action, CommandLineAction::Play);
    EXPECT_EQ(ApplySetting(run, "stereo", line.overrides.back().second), SettingResult::Set);
    EXPECT_EQ(run.stereo, mode) << StereoModeName(mode);
  }
  EXPECT_EQ(Parse({"--fullscreen"}).overrides.back().second, "fullscreen");
  // A value the setting does not take is misuse naming the option typed, not the settings key.
  for (auto args : {std::vector<const char*>{"--scale=huge"}, {"--scale", "huge"}}) {
    line = Parse(args);
    EXPECT_EQ(line.action, CommandLineAction::Misuse);
    EXPECT_EQ(line.problem, "option '--scale' takes fit, integer or sharp, not 'huge'");
  }
  line = Parse({"--sound-output", std::string(500, 'x').c_str()});
  EXPECT_EQ(line.action, CommandLineAction::Misuse);
  EXPECT_LT(line.problem.size(), 200u) << line.problem;
}

TEST(CommandLineParse, AnEmptyFileNameOrAnOptionWhereTheFileIsDueIsMisuse) {
  for (auto args : {std::vector<const char*>{"--replay", ""},
                    {"--replay="},
                    {"--record", ""},
                    {"--frame-log="},
                    {"--record", "--window"},
                    {"--replay", "-q"},
                    {"--scale", "--window"}}) {
    const CommandLine line = Parse(args);
    EXPECT_EQ(line.action, CommandLineAction::Misuse) << args[0];
    const std::string name = std::string(args[0]).substr(0, std::string(args[0]).find('='));
    EXPECT_EQ(line.problem.rfind("option '" + name + "' needs ", 0), 0u) << line.problem;
  }
  EXPECT_EQ(Parse({"--record", "--window"}).problem,
            "option '--record' needs FILE, not '--window'");
  // Said outright, a file may still have such a name.
  CommandLine line = Parse({"--record=--window"});
  ASSERT_EQ(line.action, CommandLineAction::Play) << line.problem;
  EXPECT_EQ(fs::path(line.recordfile).filename(), "--window");
  line = Parse({"--record", "./-x"});
  ASSERT_EQ(line.action, CommandLineAction::Play) << line.problem;
  EXPECT_EQ(fs::path(line.recordfile).filename(), "-x");
}

TEST(CommandLineParse, TheUsageListsEveryOptionOfTheTable) {
  const std::string usage = UsageText();
  for (const OptionRow& row : OptionRows()) {
    EXPECT_NE(usage.find(row.name), std::string::npos) << row.name;
    // The description, perhaps wrapped over several lines.
    std::string joined;
    for (char c : usage) {
      if (c == '\n') c = ' ';
      if (c != ' ' || joined.empty() || joined.back() != ' ') joined += c;
    }
    EXPECT_NE(joined.find(row.help), std::string::npos) << row.help;
  }
  // Every description starts in one column, at least two spaces after its option (or under it
  // when the option is too long), and no line is wider than 79 characters.
  std::size_t column = 0;
  std::istringstream lines(usage.substr(usage.find("Options:\n") + 9));
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), 79u) << line;
    const std::size_t start = line.find_first_not_of(' ');
    if (line.compare(start, 1, "-") != 0) {  // a description's own line
      if (column == 0) column = start;
      EXPECT_EQ(start, column) << line;
      continue;
    }
    const std::size_t gap = line.find("  ", start);
    if (gap == std::string::npos) continue;  // the option alone; its description follows
    const std::size_t text = line.find_first_not_of(' ', gap);
    if (column == 0) column = text;
    EXPECT_EQ(text, column) << line;
  }
  EXPECT_GT(column, 0u);
  EXPECT_EQ(AbsoluteFile("/a/b/../c"), "/a/c");
  EXPECT_EQ(AbsoluteFile("rec.zxr"), (fs::current_path() / "rec.zxr").string());
}

// Runs the program with `args` and the environment changes in `env` ("NAME=value" or "-NAME" to
// unset); its stdout, stderr and exit status.
struct Outcome {
  std::string out, err;
  int status = -1;
};

class ProgramTest : public TempFolderTest {
 protected:
  static fs::path Program() { return fs::read_symlink("/proc/self/exe").parent_path() / "zumbrix"; }

  Outcome Start(const fs::path& program, const std::string& args, const std::string& env = "") {
    const fs::path out = folder_ / "out.txt", err = folder_ / "err.txt";
    std::string command = "cd '" + folder_.string() + "' && env " + env + " '" + program.string() +
                          "' " + args + " >'" + out.string() + "' 2>'" + err.string() + "'";
    int raw = std::system(command.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadText(out);
    run.err = ReadText(err);
    return run;
  }
};

TEST_F(ProgramTest, HelpAndVersionGoToStdoutWithStatusZero) {
  Outcome help = Start(Program(), "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* text : {"Usage: zumbrix", "--version", "Files:", "best score", "settings.ini"}) {
    EXPECT_NE(help.out.find(text), std::string::npos) << text << "\n" << help.out;
  }
  Outcome version = Start(Program(), "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("zumbrix ") + ProgramVersion() + "\n");
}

TEST_F(ProgramTest, AnUnknownOptionGivesTheUsageOnStderrAndStatusTwo) {
  Outcome run = Start(Program(), "--no-such-option");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("--no-such-option"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Usage: zumbrix"), std::string::npos) << run.err;
}

TEST_F(ProgramTest, ABadOptionValueIsNamedAfterTheOptionWithTheProgramsPrefix) {
  const std::string home = "-u XDG_CONFIG_HOME HOME='" + (folder_ / "home").string() + "'";
  Outcome run = Start(Program(), "--scale huge", home);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.rfind("zumbrix: option '--scale' takes fit, integer or sharp, not 'huge'\n", 0),
            0u)
      << run.err;
  Outcome empty = Start(Program(), "--replay=", home);
  EXPECT_EQ(empty.status, 2);
  EXPECT_EQ(empty.err.rfind("zumbrix: option '--replay' needs FILE", 0), 0u) << empty.err;
}

TEST_F(ProgramTest, ReplayOptionsGoTogetherAndADamagedReplayIsRefusedWithStatusTwo) {
  const std::string home = "-u XDG_CONFIG_HOME HOME='" + (folder_ / "home").string() + "'";
  Outcome alone = Start(Program(), "--headless", home);
  EXPECT_EQ(alone.status, 2);
  EXPECT_NE(alone.err.find("'--headless' goes with '--replay'"), std::string::npos) << alone.err;
  Outcome both = Start(Program(), "--record a.replay --replay b.replay", home);
  EXPECT_EQ(both.status, 2);
  EXPECT_NE(both.err.find("cannot be used together"), std::string::npos) << both.err;

  WriteText(folder_ / "junk.replay", "ZXREPLAY and then nothing a replay holds");
  Outcome junk = Start(Program(), "--replay junk.replay --headless", home);
  EXPECT_EQ(junk.status, 2) << junk.err;
  EXPECT_EQ(junk.out, "");
  EXPECT_NE(junk.err.find((folder_ / "junk.replay").string()), std::string::npos) << junk.err;
}

TEST_F(ProgramTest, AnInstalledCopyFindsItsDataFromAMovedPrefixAndScoresPerPlayer) {
  // The Debian layout under a staging root, then the whole tree moved.
  const fs::path root = folder_ / "stage" / "usr";
  fs::create_directories(root / "games");
  fs::create_directories(root / "share" / "games" / "zumbrix" / "data");
  fs::copy_file(Program(), root / "games" / "zumbrix");
  fs::rename(folder_ / "stage", folder_ / "moved");
  const fs::path moved = folder_ / "moved" / "usr";
  const std::string home = (folder_ / "home").string();
  Outcome help = Start(moved / "games" / "zumbrix", "--help",
                       "-u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME='" + home + "'");
  EXPECT_EQ(help.status, 0) << help.err;
  const std::string data = (moved / "share" / "games" / "zumbrix" / "data").string();
  EXPECT_NE(help.out.find(data + "\n"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find(home + "/.local/share/zumbrix/hiscore.dat"), std::string::npos)
      << help.out;
  EXPECT_NE(help.out.find(home + "/.config/zumbrix/settings.ini"), std::string::npos) << help.out;
}

}  // namespace

// A replay recorded by the version before names were kept (format 4), and a replay named alone.
TEST_F(ProgramTest, AnOlderReplayStillPlaysAndAReplayNamedAloneIsWatchedOnTheReplayScreen) {
  const std::string older = std::string(ZX_TEST_DATA) + "/format4.zxreplay";
  const std::string home = "HOME=" + folder_.string() + " XDG_DATA_HOME=" + folder_.string();
  const Outcome info = Start(Program(), "--replay-info '" + older + "'", home);
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out, std::string("name: unknown\ndate: unknown\nversion: ") + kGameVersion +
                          "\nscore: 0\nframes: 266\ngames: 1\n");
  const Outcome played = Start(Program(), "--replay '" + older + "' --headless", home);
  EXPECT_EQ(played.status, 0) << played.err;
  EXPECT_EQ(played.out, "score 0 frames 266\n");

  const Outcome alone = Start(Program(), "--headless --frame-log log.txt '" + older + "'", home);
  EXPECT_EQ(alone.status, 0) << alone.err;
  EXPECT_EQ(alone.out, "score 0 frames 266\n");
  const std::string log = ReadText(folder_ / "log.txt");
  EXPECT_NE(log.find(" replay"), std::string::npos) << log.substr(0, 400);
  EXPECT_EQ(log.find(" play\n"), std::string::npos) << "a frame of the watching was not marked";
  const Outcome refused = Start(Program(), "--replay-info junk.zxreplay", home);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("junk.zxreplay: the replay file cannot be read"), std::string::npos)
      << refused.err;
}
