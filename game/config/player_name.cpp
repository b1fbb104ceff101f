// player_name.cpp - the player's name from the settings or the account.
#include "game/config/player_name.h"

#include "core/user_folders.h"
#include "game/config/settings.h"
#include "game/config/settings_store.h"

std::string PlayerName() {
  if (!RunSettings().name.empty()) return RunSettings().name;
  return DefaultPlayerName(AccountNames());
}

std::string DefaultPlayerName(const std::vector<std::string>& account_names) {
  // "Zoë" would lose a letter and "李" all of them: the login name then says who it is better.
  for (const std::string& name : account_names) {
    const std::string kept = PlayerNameText(name);
    if (!kept.empty() && kept == name.substr(0, kMaxNameLength)) return kept;
  }
  for (const std::string& name : account_names) {
    const std::string kept = PlayerNameText(name);
    if (!kept.empty()) return kept;
  }
  return "Player";
}
