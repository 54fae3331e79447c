// Reading and writing "settings.cfg": parsed with the library's configuration functions,
// written through the game's safe replace.
#include "shell/settings.h"

#include <allegro.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "frontend/front_end.h"
#include "shell/files.h"
#include "shell/game.h"
#include "shell/screen_mode.h"
#include "shell/window_events.h"

namespace {

struct NamedKey {
    int scancode;
    const char* name;
};

// The keys besides the letters, digits and function keys, by their names in the file.
// clang-format off
constexpr NamedKey OTHER_KEYS[] = {
    {KEY_ESC, "ESC"}, {KEY_TILDE, "TILDE"}, {KEY_MINUS, "MINUS"}, {KEY_EQUALS, "EQUALS"},
    {KEY_BACKSPACE, "BACKSPACE"}, {KEY_TAB, "TAB"}, {KEY_OPENBRACE, "OPENBRACE"}, {KEY_CLOSEBRACE, "CLOSEBRACE"},
    {KEY_ENTER, "ENTER"}, {KEY_COLON, "COLON"}, {KEY_QUOTE, "QUOTE"}, {KEY_BACKSLASH, "BACKSLASH"},
    {KEY_COMMA, "COMMA"}, {KEY_STOP, "STOP"}, {KEY_SLASH, "SLASH"}, {KEY_SPACE, "SPACE"}, {KEY_INSERT, "INSERT"},
    {KEY_DEL, "DEL"}, {KEY_HOME, "HOME"}, {KEY_END, "END"}, {KEY_PGUP, "PGUP"}, {KEY_PGDN, "PGDN"},
    {KEY_LEFT, "LEFT"}, {KEY_RIGHT, "RIGHT"}, {KEY_UP, "UP"}, {KEY_DOWN, "DOWN"}, {KEY_SLASH_PAD, "SLASH_PAD"},
    {KEY_ASTERISK, "ASTERISK"}, {KEY_MINUS_PAD, "MINUS_PAD"}, {KEY_PLUS_PAD, "PLUS_PAD"}, {KEY_DEL_PAD, "DEL_PAD"},
    {KEY_ENTER_PAD, "ENTER_PAD"}, {KEY_LSHIFT, "LSHIFT"}, {KEY_RSHIFT, "RSHIFT"}, {KEY_LCONTROL, "LCONTROL"},
    {KEY_RCONTROL, "RCONTROL"}, {KEY_ALT, "ALT"}, {KEY_ALTGR, "ALTGR"},
};
// clang-format on
constexpr int FUNCTION_KEYS = 12;

// One setting of the file: its section and name, and where it lives in Settings.
struct KeySetting {
    const char* name;
    int KeyBindings::*member;
    int direction;  // for the walks, the direction code; -1 for the others
};
const KeySetting KEY_SETTINGS[] = {
    {"right", nullptr, DIRECTION_RIGHT}, {"down", nullptr, DIRECTION_DOWN},  {"left", nullptr, DIRECTION_LEFT},
    {"up", nullptr, DIRECTION_UP},       {"bomb", &KeyBindings::bomb, -1},   {"beam", &KeyBindings::beam, -1},
    {"pause", &KeyBindings::pause, -1},  {"sound", &KeyBindings::sound, -1}, {"end", &KeyBindings::end, -1},
    {"debug_panel", &KeyBindings::debugPanel, -1}, {"full_screen", &KeyBindings::fullScreen, -1},
};
struct PadSetting {
    const char* name;
    int PadBindings::*member;
};
constexpr PadSetting PAD_SETTINGS[] = {
    {"bomb", &PadBindings::bomb},   {"beam", &PadBindings::beam}, {"beam_other", &PadBindings::beamOther},
    {"pause", &PadBindings::pause}, {"end", &PadBindings::end},   {"leave", &PadBindings::leave},
};

int& boundKey(KeyBindings& keys, const KeySetting& setting)
{
    return setting.member ? keys.*setting.member : keys.walk[setting.direction];
}

std::string upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

void complain(std::string& complaints, const char* section, const char* name, const char* value, const char* what,
              const std::string& used)
{
    complaints += std::string("Ghost Maze: ") + SETTINGS_FILE + ": [" + section + "] " + name + " = \"" + value +
                  "\" " + what + "; " + used + " is used\n";
}

void readYesOrNo(const char* section, const char* name, bool& setting, std::string& complaints)
{
    const char* value = get_config_string(section, name, nullptr);
    if (!value) return;
    const std::string word = upper(value);
    if (word == "YES" || word == "ON" || word == "1" || word == "TRUE")
        setting = true;
    else if (word == "NO" || word == "OFF" || word == "0" || word == "FALSE")
        setting = false;
    else
        complain(complaints, section, name, value, "is neither yes nor no", setting ? "yes" : "no");
}

void readKeys(Settings& settings, std::string& complaints)
{
    KeyBindings defaults;
    const char* values[std::size(KEY_SETTINGS)] = {};  // as the file gives them, when it names a key
    for (std::size_t i = 0; i < std::size(KEY_SETTINGS); ++i) {
        const KeySetting& setting = KEY_SETTINGS[i];
        const char* value = get_config_string("keys", setting.name, nullptr);
        if (!value) continue;
        const int scancode = keyByName(value);
        if (scancode == 0) {
            complain(complaints, "keys", setting.name, value, "is not a key",
                     keyName(boundKey(settings.keys, setting)));
            continue;
        }
        boundKey(settings.keys, setting) = scancode;
        values[i] = value;
    }
    // One key for two actions would do both at once. The file's choice gives way to a default
    // (so a key moves onto another action only when both are changed), and a later to an
    // earlier; each giving way may make another pair, so the look starts again.
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t i = 0; i < std::size(KEY_SETTINGS) && !changed; ++i)
            for (std::size_t j = 0; j < i && !changed; ++j) {
                KeyBindings& keys = settings.keys;
                if (boundKey(keys, KEY_SETTINGS[i]) != boundKey(keys, KEY_SETTINGS[j])) continue;
                const bool laterMayYield =
                    values[i] && boundKey(defaults, KEY_SETTINGS[i]) != boundKey(keys, KEY_SETTINGS[j]);
                const std::size_t yields = laterMayYield || !values[j] ? i : j;
                if (!values[yields]) continue;
                const KeySetting& setting = KEY_SETTINGS[yields];
                boundKey(keys, setting) = boundKey(defaults, setting);
                complain(complaints, "keys", setting.name, values[yields], "is another action's key",
                         keyName(boundKey(keys, setting)));
                values[yields] = nullptr;
                changed = true;
            }
    }
}

void readPad(Settings& settings, std::string& complaints)
{
    for (const PadSetting& setting : PAD_SETTINGS) {
        const char* value = get_config_string("gamepad", setting.name, nullptr);
        if (!value) continue;
        int& bound = settings.pad.*setting.member;
        char* end = nullptr;
        const long button = std::strtol(value, &end, 10);
        if (end != value && *end == '\0' && button >= 0 && button < PAD_BUTTON_COUNT)
            bound = static_cast<int>(button);
        else
            complain(complaints, "gamepad", setting.name, value, "is not a button from 0 to 31", std::to_string(bound));
    }
}

}  // namespace

int keyByName(const std::string& name)
{
    const std::string wanted = upper(name);
    if (wanted.size() == 1 && wanted[0] >= 'A' && wanted[0] <= 'Z') return KEY_A + (wanted[0] - 'A');
    if (wanted.size() == 1 && wanted[0] >= '0' && wanted[0] <= '9') return KEY_0 + (wanted[0] - '0');
    for (int f = 1; f <= FUNCTION_KEYS; ++f)
        if (wanted == "F" + std::to_string(f)) return KEY_F1 + f - 1;
    for (const NamedKey& k : OTHER_KEYS)
        if (wanted == k.name) return k.scancode;
    return 0;
}

std::string keyName(int scancode)
{
    if (scancode >= KEY_A && scancode <= KEY_Z) return std::string(1, static_cast<char>('A' + scancode - KEY_A));
    if (scancode >= KEY_0 && scancode <= KEY_9) return std::string(1, static_cast<char>('0' + scancode - KEY_0));
    if (scancode >= KEY_F1 && scancode <= KEY_F12) return "F" + std::to_string(scancode - KEY_F1 + 1);
    for (const NamedKey& k : OTHER_KEYS)
        if (k.scancode == scancode) return k.name;
    return "?";
}

Settings parseSettings(const std::string& text, std::string& complaints)
{
    Settings settings;
    // The library has one current configuration, which its own drivers read too: this one is
    // set only while it is read.
    push_config_state();
    set_config_data(text.data(), static_cast<int>(text.size()));
    readYesOrNo("sound", "on", settings.soundOn, complaints);
    readYesOrNo("window", "full_screen", settings.fullScreen, complaints);
    readKeys(settings, complaints);
    readPad(settings, complaints);
    pop_config_state();
    return settings;
}

std::string settingsText(const Settings& settings)
{
    std::string text = "# Ghost Maze settings. Keys by name (A, 5, F2, SPACE, LEFT, ENTER ...); gamepad\n"
                       "# buttons by number, 0 to 31.\n\n[sound]\non = ";
    text += settings.soundOn ? "yes\n" : "no\n";
    text += "\n[window]\nfull_screen = ";
    text += settings.fullScreen ? "yes\n" : "no\n";
    text += "\n[keys]\n";
    KeyBindings keys = settings.keys;
    for (const KeySetting& setting : KEY_SETTINGS)
        text += std::string(setting.name) + " = " + keyName(boundKey(keys, setting)) + "\n";
    text += "\n[gamepad]\n";
    for (const PadSetting& setting : PAD_SETTINGS)
        text += std::string(setting.name) + " = " + std::to_string(settings.pad.*setting.member) + "\n";
    return text;
}

Settings loadSettings()
{
    const FileContents file = readWholeFile(SETTINGS_FILE, TEXT_FILE_LIMIT);
    if (file.outcome == FILE_MISSING) return Settings{};
    if (file.outcome == FILE_UNREADABLE) {
        std::fprintf(stderr, "Ghost Maze: %s cannot be read (%s): the defaults are used and it is left as it is\n",
                     SETTINGS_FILE, file.problem.c_str());
        Settings defaults;
        defaults.keep = false;
        return defaults;
    }
    std::string complaints;
    Settings settings = parseSettings(file.bytes, complaints);
    std::fputs(complaints.c_str(), stderr);
    return settings;
}

bool saveSettings(const Settings& settings)
{
    if (!settings.keep) return false;
    return replaceFile(SETTINGS_FILE, settingsText(settings));
}

void Game::switchFullScreen()
{
    const bool wanted = !screenMode.fullScreen;
    // Refused, the game stays in its window and says so; the choice in the file stays as it was.
    if (!setFullScreen(wanted)) return;
    settings.fullScreen = wanted;
    saveSettings(settings);
}

void Game::takeFullScreenKey()
{
    if (takeKeyTap(settings.keys.fullScreen)) switchFullScreen();
}

void Game::switchSound()
{
    toggleSound(samples);
    settings.soundOn = soundIsOn();
    saveSettings(settings);
}
