// user_folders.h - the player's own folders, by the XDG base directory rules.
//
// $XDG_DATA_HOME (default ~/.local/share) holds what the program keeps for a player;
// $XDG_CONFIG_HOME (default ~/.config) their settings. A variable that is unset, empty or not an
// absolute path is ignored, as the rules require. The home folder is $HOME, else the password
// database's entry. Needs the environment and POSIX only.
#pragma once

#include <string>

// The player's home folder without a trailing "/"; empty when there is none. Any thread.
std::string HomeFolder();
// $XDG_DATA_HOME or ~/.local/share; empty when neither can be found. Any thread.
std::string UserDataHome();
// $XDG_CONFIG_HOME or ~/.config; empty when neither can be found. Any thread.
std::string UserConfigHome();
