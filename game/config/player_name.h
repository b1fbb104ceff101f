// player_name.h - the name every recorded game carries: the `name` setting, or by default the
// first word of the account's full name, else the login name (core/user_folders.h), else
// "Player". Main thread.
#pragma once

#include <string>
#include <vector>

// The player's name as recordings carry it, never empty.
std::string PlayerName();
// The name an account's names (core/user_folders.h, best first) give: the first a name holds
// whole (cut to its length), else the first that keeps any of its characters, else "Player". Pure.
std::string DefaultPlayerName(const std::vector<std::string>& account_names);
