// What the player may set and the game keeps from one run to the next, in "settings.cfg" beside
// the table: the sound, the keys of the game's actions and the gamepad's buttons.
#pragma once

#include <string>

#include "shell/controls.h"

constexpr const char* SETTINGS_FILE = "settings.cfg";

class Settings {
public:
    bool soundOn = true;
    bool fullScreen = false;  // the window fills the screen, where the desktop grants it
    KeyBindings keys;
    PadBindings pad;
    bool keep = true;  // false when the file is there but unreadable: the player's file is left alone
};

// The settings in the INI form of the library's configuration files. Anything missing takes its
// default; a bad value takes its default too, and `complaints` gets one line naming it.
Settings parseSettings(const std::string& text, std::string& complaints);
std::string settingsText(const Settings& settings);

// From SETTINGS_FILE in the working directory: none there means the defaults. Complaints go to
// standard error.
Settings loadSettings();
// Safely replaces SETTINGS_FILE with the settings, unless it could not be read. True when saved.
bool saveSettings(const Settings& settings);

// The key names the file uses ("B", "SPACE", "LEFT" ...); 0 for a name that is no key.
int keyByName(const std::string& name);
std::string keyName(int scancode);
