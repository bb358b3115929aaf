#include "settings/settings_store.h"

#include <windows.h>

#include "common/ansi_code_page.h"
#include "common/plugin_settings.h"
#include "plugin/host_interface.h"
#include "plugin/plugin_record.h"

namespace {

// Used when the player names no file: the bare name makes the profile functions use the
// Windows directory.
constexpr char FALLBACK_SETTINGS_FILE[] = "winamp.ini";

// The player's own texts, kept as they are: the player keeps them for as long as it runs.
const char* settings_file = FALLBACK_SETTINGS_FILE;
// Set instead when the path holds a character the ANSI code page lacks (a profile folder under
// a user name such as "𠮷田"): the ANSI path would name no file.
const wchar_t* wide_settings_file = nullptr;

struct SettingKey {
    const char* ansi;
    const wchar_t* wide;
};
constexpr SettingKey STATION = {"Station", L"Station"};
constexpr SettingKey WAIT = {"Wait", L"Wait"};
constexpr SettingKey REPEAT = {"Repeat", L"Repeat"};
constexpr SettingKey ENABLE = {"Enable", L"Enable"};

int read_number(const SettingKey& key, int fallback) {
    if (wide_settings_file != nullptr) {
        return static_cast<int>(
            GetPrivateProfileIntW(SETTINGS_SECTION_W, key.wide, fallback, wide_settings_file));
    }
    return static_cast<int>(
        GetPrivateProfileIntA(SETTINGS_SECTION, key.ansi, fallback, settings_file));
}

bool read_flag(const SettingKey& key, bool fallback) {
    return read_number(key, fallback ? 1 : 0) != 0;
}

void write_number(const SettingKey& key, int value) {
    if (wide_settings_file != nullptr) {
        wchar_t text[16];
        wsprintfW(text, L"%d", value);
        WritePrivateProfileStringW(SETTINGS_SECTION_W, key.wide, text, wide_settings_file);
        return;
    }
    char text[16];
    wsprintfA(text, "%d", value);
    WritePrivateProfileStringA(SETTINGS_SECTION, key.ansi, text, settings_file);
}

// Asks the player where its ini file is, preferring the name it keeps in UTF-16 when the ANSI
// code page cannot hold that name.
void find_settings_file() {
    const HWND player = plugin_record.hwndParent;
    wide_settings_file = player_text<wchar_t>(ask_player(player, IPC_GETINIFILEW));
    if (wide_settings_file != nullptr && survives_ansi_code_page(wide_settings_file)) {
        wide_settings_file = nullptr;
    }
    if (wide_settings_file == nullptr) {
        const char* path = player_text<char>(ask_player(player, IPC_GETINIFILE));
        settings_file = path != nullptr ? path : FALLBACK_SETTINGS_FILE;
    }
}

} // namespace

void load_settings() {
    find_settings_file();
    PluginSettings& settings = plugin_settings;
    settings.Station = read_flag(STATION, false);
    settings.Wait = read_number(WAIT, WAIT_DEFAULT_SECONDS);
    settings.Repeat = read_flag(REPEAT, false);
    settings.Enable = read_flag(ENABLE, true);

    // Replaced, not clamped: a value out of range is a damaged entry, not a wish for the bound.
    if (settings.Wait < WAIT_MIN_SECONDS || settings.Wait > WAIT_MAX_SECONDS) {
        settings.Wait = WAIT_DEFAULT_SECONDS;
    }
}

void save_settings() {
    const PluginSettings& settings = plugin_settings;
    write_number(STATION, settings.Station ? 1 : 0);
    write_number(WAIT, settings.Wait);
    write_number(REPEAT, settings.Repeat ? 1 : 0);
    write_number(ENABLE, settings.Enable ? 1 : 0);
}
