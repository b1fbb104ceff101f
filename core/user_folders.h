// user_folders.h - the player's own folders, by the XDG base directory rules.
//
// $XDG_DATA_HOME (default ~/.local/share) holds what the program keeps for a player;
// $XDG_CONFIG_HOME (default ~/.config) their settings. A variable that is unset, empty or not an
// absolute path is ignored, as the rules require. The home folder is $HOME, else the password
// database's entry. The pictures folder is $XDG_PICTURES_DIR, else the XDG_PICTURES_DIR line of
// $XDG_CONFIG_HOME/user-dirs.dirs (the desktop's own list of user folders, "$HOME/Path" or
// "/Path"), else ~/Pictures; the videos folder the same with XDG_VIDEOS_DIR and ~/Videos. Needs
// the environment and POSIX only.
#pragma once

#include <string>
#include <vector>

// The names the account offers, best first: the first word of its full name (the password
// database's comment field, before its first comma) when it has one, then the login name; none
// when the database has no entry. Any thread.
std::vector<std::string> AccountNames();
// The same from an entry's comment field and login name, for tests. Pure.
std::vector<std::string> AccountNamesOf(const std::string& gecos, const std::string& login);

// The player's home folder without a trailing "/"; empty when there is none. Any thread.
std::string HomeFolder();
// $XDG_DATA_HOME or ~/.local/share; empty when neither can be found. Any thread.
std::string UserDataHome();
// $XDG_CONFIG_HOME or ~/.config; empty when neither can be found. Any thread.
std::string UserConfigHome();
// Where the player's pictures go; empty when no rule gives an absolute folder. Any thread.
std::string UserPicturesFolder();
// Where the player's videos go, by the same rules; empty as for the pictures. Any thread.
std::string UserVideosFolder();
// The folder the user-dirs.dirs text `text` gives for `name` (XDG_PICTURES_DIR), with "$HOME"
// replaced by `home`; empty when it gives none or one that is neither "$HOME/..." nor absolute.
std::string UserDirsEntry(const std::string& text, const std::string& name,
                          const std::string& home);
