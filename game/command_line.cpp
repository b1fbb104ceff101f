// command_line.cpp - the option table, its parser, and the usage and help texts.
#include "game/command_line.h"

#include <filesystem>
#include <string_view>

#ifndef ZX_VERSION
#define ZX_VERSION "0.0.0"
#endif

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
    {"--record", nullptr, "FILE", "record this run's game to FILE, to be replayed",
     [](CommandLine& line, const std::string& file) { line.recordfile = AbsoluteFile(file); }},
    {"--frame-log", nullptr, "FILE", "write the time of every frame to FILE, one line each",
     [](CommandLine& line, const std::string& file) { line.framelogfile = AbsoluteFile(file); }},
    {"--replay", nullptr, "FILE", "play the game recorded in FILE back, then print its score",
     [](CommandLine& line, const std::string& file) { line.replayfile = AbsoluteFile(file); }},
    {"--headless", nullptr, nullptr, "with --replay: no window, as fast as the machine allows",
     [](CommandLine& line, const std::string&) { line.headless = true; }},
    {"--scale", nullptr, "fit|integer", "scale the picture as large as fits, or by whole multiples",
     [](CommandLine& line, const std::string& how) { line.overrides.emplace_back("scale", how); }},
    {"--sound-output", nullptr, "auto|waveout|directsound",
     "send the sound to the default output device, or to the one named",
     [](CommandLine& line, const std::string& device) {
       line.overrides.emplace_back("sound_output", device);
     }},
};

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
    if (!row) {
      misuse(word.starts_with('-') ? "unknown option '" + std::string(name) + "'"
                                   : "unexpected argument '" + std::string(word) + "'");
      continue;
    }
    std::string argument;
    if (row->argument) {
      if (has_inline) {
        argument = inline_value;
      } else if (i + 1 < argc) {
        argument = argv[++i];
      } else {
        misuse("option '" + std::string(name) + "' needs " + row->argument);
        continue;
      }
    } else if (has_inline) {
      misuse("option '" + std::string(name) + "' takes no argument");
      continue;
    }
    // After a misuse only a help or version request still counts.
    CommandLine applied = line;
    row->apply(applied, argument);
    if (line.action != CommandLineAction::Misuse) {
      line = std::move(applied);
    } else if (Ends(applied.action)) {
      line = std::move(applied);
      line.problem.clear();
    }
  }
  // Options that only make sense together.
  if (line.action == CommandLineAction::Play) {
    if (line.headless && line.replayfile.empty()) {
      line.action = CommandLineAction::Misuse;
      line.problem = "option '--headless' goes with '--replay'";
    } else if (!line.replayfile.empty() && !line.recordfile.empty()) {
      line.action = CommandLineAction::Misuse;
      line.problem = "options '--record' and '--replay' cannot be used together";
    }
  }
  return line;
}

std::string UsageText() {
  std::string text = "Usage: zumbrix [OPTION]...\n\nOptions:\n";
  for (const OptionRow& row : kOptions) {
    std::string left = row.shortname ? std::string(row.shortname) + ", " : std::string("    ");
    left += row.name;
    if (row.argument) left += std::string(" ") + row.argument;
    if (left.size() < 22) left.resize(22, ' ');
    text += "  " + left + " " + row.help + "\n";
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
  text +=
      "\nThe best score is kept beside the game's data when the game runs from its own writable\n"
      "folder, else in $XDG_DATA_HOME/zumbrix (default ~/.local/share/zumbrix). The settings file\n"
      "(default ~/.config/zumbrix/settings.ini) is rewritten when a setting changes and at exit.\n";
  return text;
}
