// player_name.cpp - the player's name from the settings or the account.
#include "game/config/player_name.h"

#include "core/user_folders.h"
#include "game/config/settings.h"
#include "game/config/settings_store.h"

std::string PlayerName() {
  if (!RunSettings().name.empty()) return RunSettings().name;
  const std::string account = PlayerNameText(AccountFirstName());
  return account.empty() ? "Player" : account;
}
