// command_line.cpp - the option table, its parser, and the usage and help texts.
#include "game/config/command_line.h"

#include <filesystem>
#include <string_view>

#include "core/user_folders.h"
#include "game/config/version.h"

namespace {

const OptionRow kOptions[] = {
    {"--help", "-h", nullptr, "show this help, with where the game keeps its files, and exit",
     [](CommandLine& line, const std::string&) { line.action = CommandLineAction::ShowHelp; }},
    {"--version", nullptr, nullptr, "show the version and exit",
     [](CommandLine& line, const std::string&) { line.action = CommandLineAction::ShowVersion; }},
    {"--fullscreen", nullptr, nullptr, "play in the 640x480 display mode (the default)",
     [](CommandLine& line, const std::string&) {
       line.overrides.emplace_back("display", "fullscreen");
     }},
    {"--desktop", nullptr, nullptr, "play full screen at the desktop's resolution, scaled",
     [](CommandLine& line, const std::string&) {
       line.overrides.emplace_back("display", "desktop");
     }},
    {"--window", nullptr, nullptr, "play in a resizable window",
     [](CommandLine& line, const std::string&) {
       line.overrides.emplace_back("display", "window");
     }},
    {"--flat", nullptr, nullptr, "draw everything once in its own colours (no glasses needed)",
     [](CommandLine& line, const std::string&) { line.overrides.emplace_back("colours", "flat"); }},
    {"--anaglyph", nullptr, nullptr, "draw red/cyan pairs for 3D glasses (the default)",
     [](CommandLine& line, const std::string&) {
       line.overrides.emplace_back("colours", "anaglyph");
     }},
    {"--stereo", nullptr, "MODE",
     "off, or a view per eye: side-by-side, side-by-side-half or top-bottom (3D TVs, glasses)",
     [](CommandLine& line, const std::string& mode) {
       line.overrides.emplace_back("stereo", mode);
     }},
    {"--ghost", nullptr, "[FILE]",
     "fly against the ghost of your best game in this run, or of the game recorded in FILE",
     [](CommandLine& line, const std::string& file) {
       line.overrides.emplace_back("ghost", "on");
       line.ghost_file = file.empty() ? std::string() : AbsoluteFile(file);
     },
     true},
    {"--record", nullptr, "FILE", "record this run's game to FILE, to be replayed",
     [](CommandLine& line, const std::string& file) { line.recordfile = AbsoluteFile(file); }},
    {"--frame-log", nullptr, "FILE", "write the time of every frame to FILE, one line each",
     [](CommandLine& line, const std::string& file) { line.framelogfile = AbsoluteFile(file); }},
    {"--replay", nullptr, "FILE", "play the game recorded in FILE back, then print its score",
     [](CommandLine& line, const std::string& file) { line.replayfile = AbsoluteFile(file); }},
    {"--replay-info", nullptr, "FILE",
     "print who played the game recorded in FILE, when, its version, score, frames and games",
     [](CommandLine& line, const std::string& file) {
       line.action = CommandLineAction::ShowReplayInfo;
       line.replayfile = AbsoluteFile(file);
     }},
    {"--headless", nullptr, nullptr, "with --replay: no window, as fast as the machine allows",
     [](CommandLine& line, const std::string&) { line.headless = true; }},
    {"--from", nullptr, "M:SS", "with --replay: start at that time into the replay",
     [](CommandLine& line, const std::string& time) {
       line.from_frame = ReplayTimeFrame(time);
       if (line.from_frame < 0) {
         line.action = CommandLineAction::Misuse;
         line.problem = "option '--from' takes a time as M:SS, not '" + time + "'";
       }
     }},
    {"--video", nullptr, "FILE",
     "with --replay: make the game a video, sound and all, faster than real time: FILE.webm "
     "(VP9, Opus), FILE.mp4 (H.264, AAC) or FILE.mkv (VP9, Opus)",
     [](CommandLine& line, const std::string& file) { line.videofile = AbsoluteFile(file); }},
    {"--video-scale", nullptr, "N",
     "with --video: repeat each pixel N times across and down (1 to 4; 2 makes 1280x960)",
     [](CommandLine& line, const std::string& n) { line.videoscale = n; }},
    {"--video-progress", nullptr, nullptr,
     "with --video: print 'video DONE TOTAL' lines on stdout as the frames are made",
     [](CommandLine& line, const std::string&) { line.videoprogress = true; }},
    {"--scale", nullptr, "fit|integer|sharp",
     "scale the picture as large as fits, by whole multiples, or as large as fits with sharp "
     "pixels",
     [](CommandLine& line, const std::string& how) { line.overrides.emplace_back("scale", how); }},
    {"--sound-output", nullptr, "auto|waveout|directsound",
     "send the sound to the default output device, or to the one named",
     [](CommandLine& line, const std::string& device) {
       line.overrides.emplace_back("sound_output", device);
     }},
};

// Where the options' descriptions start in the usage, and the width they wrap at.
constexpr std::size_t kHelpColumn = 28;
constexpr std::size_t kHelpWidth = 79;

const OptionRow* FindOption(std::string_view word) {
  for (const OptionRow& row : kOptions) {
    if (word == row.name || (row.shortname && word == row.shortname)) return &row;
  }
  return nullptr;
}

bool Ends(CommandLineAction action) {
  return action == CommandLineAction::ShowHelp || action == CommandLineAction::ShowVersion;
}

}  // namespace

std::span<const OptionRow> OptionRows() { return kOptions; }

const char* ProgramVersion() { return ZX_VERSION; }

std::string AbsoluteFile(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  auto misuse = [&line](std::string problem) {
    // The first problem is the one reported; a later help or version request still wins.
    if (line.action == CommandLineAction::Play) {
      line.action = CommandLineAction::Misuse;
      line.problem = std::move(problem);
    }
  };
  for (int i = 1; i < argc && !Ends(line.action); ++i) {
    std::string_view word = argv[i];
    std::string_view name = word, inline_value;
    bool has_inline = false;
    std::size_t equals = word.find('=');
    if (word.starts_with("--") && equals != std::string_view::npos) {
      name = word.substr(0, equals);
      inline_value = word.substr(equals + 1);
      has_inline = true;
    }
    const OptionRow* row = word.starts_with('-') ? FindOption(name) : nullptr;
    if (!row && !word.starts_with('-') && !word.empty() && line.document_file.empty()) {
      // A replay named alone, as the desktop opens one: watched in a window.
      line.document_file = AbsoluteFile(std::string(word));
      continue;
    }
    if (!row) {
      misuse(word.starts_with('-') ? "unknown option '" + Echoed(name) + "'"
                                   : "unexpected argument '" + Echoed(word) + "'");
      continue;
    }
    const std::string option = "option '" + std::string(name) + "'";
    std::string argument;
    const bool left_out =
        row->optional && !has_inline &&
        (i + 1 >= argc || std::string_view(argv[i + 1]) == "" || argv[i + 1][0] == '-');
    if (row->argument && !left_out) {
      if (has_inline) {
        argument = inline_value;
      } else if (i + 1 < argc) {
        // "--record --window": the next word is an option, not the file it would be named as.
        // An explicit "--record=--window" or "--record ./--window" still names such a file.
        const std::string_view next = argv[i + 1];
        if (next.size() > 1 && next[0] == '-') {
          misuse(option + " needs " + row->argument + ", not '" + Echoed(next) + "'");
          continue;
        }
        argument = argv[++i];
      } else {
        misuse(option + " needs " + row->argument);
        continue;
      }
      if (argument.empty()) {
        misuse(option + " needs " + row->argument + ", not an empty word");
        continue;
      }
    } else if (has_inline) {
      misuse(option + " takes no argument");
      continue;
    }
    // After a misuse only a help or version request still counts.
    CommandLine applied = line;
    row->apply(applied, argument);
    // A setting's value is checked here, so that the message names the option the player typed.
    for (std::size_t o = line.overrides.size(); o < applied.overrides.size(); ++o) {
      Settings scratch;
      const auto& [key, value] = applied.overrides[o];
      if (ApplySetting(scratch, key, value) != SettingResult::BadValue) continue;
      const SettingKey* known = FindSettingKey(key);
      misuse(option + " takes " + (known ? SettingValuesText(*known) : std::string("a value")) +
             ", not '" + Echoed(value) + "'");
      break;
    }
    if (line.action != CommandLineAction::Misuse) {
      line = std::move(applied);
    } else if (Ends(applied.action)) {
      line = std::move(applied);
      line.problem.clear();
    }
  }
  // A replay named alone opens the game in a window, whatever display the settings choose, and is
  // watched from its title as a dropped one is; with --headless it is played back as --replay.
  if (!line.document_file.empty() && line.action != CommandLineAction::Misuse) {
    if (!line.replayfile.empty()) {
      misuse("a replay named alone cannot go with '--replay' or '--replay-info'");
    } else if (line.headless) {
      line.replayfile = line.document_file;
    } else {
      line.overrides.insert(line.overrides.begin(), {"display", "window"});
    }
  }
  // Options that only make sense together.
  if (line.action == CommandLineAction::Play) {
    if (line.headless && line.replayfile.empty()) {
      line.action = CommandLineAction::Misuse;
      line.problem = "option '--headless' goes with '--replay'";
    } else if (line.from_frame >= 0 && line.replayfile.empty()) {
      line.action = CommandLineAction::Misuse;
      line.problem = "option '--from' goes with '--replay'";
    } else if (!line.replayfile.empty() && !line.recordfile.empty()) {
      line.action = CommandLineAction::Misuse;
      line.problem = "options '--record' and '--replay' cannot be used together";
    } else if (!line.videofile.empty() && line.replayfile.empty()) {
      line.action = CommandLineAction::Misuse;
      line.problem = "option '--video' goes with '--replay'";
    } else if ((!line.videoscale.empty() || line.videoprogress) && line.videofile.empty()) {
      line.action = CommandLineAction::Misuse;
      line.problem = std::string("option '") +
                     (line.videoprogress ? "--video-progress" : "--video-scale") +
                     "' goes with '--video'";
    } else if (!line.videoscale.empty() && VideoScale(line) == 0) {
      line.action = CommandLineAction::Misuse;
      line.problem = "option '--video-scale' takes 1, 2, 3 or 4, not '" + line.videoscale + "'";
    }
  }
  return line;
}

int ReplayTimeFrame(const std::string& text) {
  // M:SS, M:SS.ss or plain seconds, each part digits only.
  unsigned minutes = 0, seconds = 0, hundredths = 0;
  std::size_t i = 0;
  const auto number = [&](unsigned& value, std::size_t most) {
    const std::size_t start = i;
    while (i < text.size() && i - start < most && text[i] >= '0' && text[i] <= '9') {
      value = value * 10 + static_cast<unsigned>(text[i++] - '0');
    }
    return i > start;
  };
  if (!number(seconds, 6)) return -1;
  if (i < text.size() && text[i] == ':') {
    ++i;
    minutes = seconds;
    seconds = 0;
    const std::size_t start = i;
    if (!number(seconds, 2) || i - start != 2 || seconds > 59) return -1;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    const std::size_t start = i;
    if (!number(hundredths, 2)) return -1;
    if (i - start == 1) hundredths *= 10;
  }
  if (i != text.size() || minutes > 100000) return -1;
  return static_cast<int>((minutes * 60 + seconds) * 60 + hundredths * 60 / 100);
}

int VideoScale(const CommandLine& line) {
  if (line.videoscale.empty()) return 1;
  if (line.videoscale.size() == 1 && line.videoscale[0] >= '1' && line.videoscale[0] <= '4') {
    return line.videoscale[0] - '0';
  }
  return 0;
}

std::string UsageText() {
  std::string text = "Usage: zumbrix [OPTION]... [REPLAY]\n\nOptions:\n";
  const std::string indent(kHelpColumn, ' ');
  for (const OptionRow& row : kOptions) {
    std::string left = row.shortname ? "  " + std::string(row.shortname) + ", " : "      ";
    left += row.name;
    if (row.argument) left += std::string(" ") + row.argument;
    // An option too long for its column gets its description on the next line.
    if (left.size() + 2 > kHelpColumn) {
      text += left + "\n" + indent;
    } else {
      text += left + std::string(kHelpColumn - left.size(), ' ');
    }
    // The description word by word, wrapped under itself.
    std::size_t column = kHelpColumn;
    std::string_view rest = row.help;
    bool first = true;
    while (!rest.empty()) {
      std::size_t space = rest.find(' ');
      std::string_view word = rest.substr(0, space);
      rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
      if (word.empty()) continue;
      if (!first && column + 1 + word.size() > kHelpWidth) {
        text += "\n" + indent;
        column = kHelpColumn;
        first = true;
      }
      if (!first) {
        text += ' ';
        ++column;
      }
      text += word;
      column += word.size();
      first = false;
    }
    text += "\n";
  }
  return text;
}

std::string HelpText(const GameFiles& files) {
  std::string text =
      "Zumbrix - 3D Edition: an arcade shoot-'em-up in red/cyan anaglyph 3D.\n"
      "Put on red/cyan glasses, follow the mouse, shoot the bees.\n\n";
  text += UsageText();
  auto orNone = [](const std::string& path) {
    return path.empty() ? std::string("(none: no home folder)") : path;
  };
  text += "\nFiles:\n";
  text +=
      "  sounds and music  " + files.data.path +
      (files.data.location == DataLocation::Missing ? " (missing: the game plays silent)" : "") +
      "\n";
  text += "  best score        " + orNone(files.scorefile) + "\n";
  text += "  settings          " + orNone(files.settingsfile) + "\n";
  text += "  screenshots (F12) " + orNone(UserPicturesFolder()) + "\n";
  text +=
      "\nThe best score is kept beside the game's data when the game runs from its own\n"
      "writable folder, else in $XDG_DATA_HOME/zumbrix (by default\n"
      "~/.local/share/zumbrix); a save keeps the higher of this run's best and the\n"
      "file's. Only a setting changed in play (F4, Alt+Enter) is written to the\n"
      "settings file (by default ~/.config/zumbrix/settings.ini), on its own line;\n"
      "the rest of the file is kept as it is. The volumes start at full music and\n"
      "half effects every run.\n";
  return text;
}
