#pragma once
// The per-user settings store on disk: one INI file per application, written with QSettings,
// at "<config>/Lumora/<application>.ini", where <config> is $XDG_CONFIG_HOME when it is an
// absolute path and ~/.config otherwise. Values are read and written as UTF-8 strings.

#include <memory>
#include <string>

#include "platform/settings/settings_store.h"

namespace tarvex {

// A store under `configRoot`; an empty root means the user's configuration folder as above,
// looked up once here. Failures of the file (unreadable, unwritable, not a valid INI file)
// raise tarvex::Error (75) from get/set; an application name that is empty or holds a path
// separator or is "." / ".." raises tarvex::Error (5).
std::shared_ptr<SettingsStore> makeQtSettingsStore(const std::string& configRoot = "");

// "$XDG_CONFIG_HOME" when set and absolute, else "$HOME/.config" ("/tmp/.config" without HOME).
std::string userConfigRoot();

}  // namespace tarvex
