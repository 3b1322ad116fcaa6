#pragma once

#include <filesystem>

namespace brixel {

// The user's home folder: $HOME, else the account's entry in the password database.
std::filesystem::path HomeFolder();

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::filesystem::path ConfigHome();

// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::filesystem::path DataHome();

// The folder of the program's own per-user stores: <config home>/Tessarine.
std::filesystem::path SettingsFolder();

}  // namespace brixel
