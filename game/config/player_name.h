// player_name.h - the name every recorded game carries: the `name` setting, or by default the
// first word of the account's full name, else the login name (core/user_folders.h), else
// "Player". Main thread.
#pragma once

#include <string>

// The player's name as recordings carry it, never empty.
std::string PlayerName();
