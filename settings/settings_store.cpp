#include "settings/settings_store.h"

#include <windows.h>

#include "common/plugin_settings.h"
#include "plugin/host_interface.h"
#include "plugin/plugin_record.h"

namespace {

// Used when the player names no file: the bare name makes the profile functions use the
// Windows directory.
constexpr char FALLBACK_SETTINGS_FILE[] = "winamp.ini";

// The player's own text, kept as it is: the player keeps it for as long as it runs.
const char* settings_file = FALLBACK_SETTINGS_FILE;

bool read_flag(const char* key, bool fallback) {
    return GetPrivateProfileIntA(SETTINGS_SECTION, key, fallback ? 1 : 0, settings_file) != 0;
}

void write_number(const char* key, int value) {
    char text[16];
    wsprintfA(text, "%d", value);
    WritePrivateProfileStringA(SETTINGS_SECTION, key, text, settings_file);
}

} // namespace

void load_settings() {
    // An answer below 0x10000 is no pointer.
    const LRESULT answer = ask_player(plugin_record.hwndParent, IPC_GETINIFILE);
    settings_file = static_cast<ULONG_PTR>(answer) < 0x10000
                        ? FALLBACK_SETTINGS_FILE
                        : reinterpret_cast<const char*>(answer);

    PluginSettings& settings = plugin_settings;
    settings.Station = read_flag("Station", false);
    settings.Wait = static_cast<int32_t>(
        GetPrivateProfileIntA(SETTINGS_SECTION, "Wait", WAIT_DEFAULT_SECONDS, settings_file));
    settings.Repeat = read_flag("Repeat", false);
    settings.Enable = read_flag("Enable", true);

    // Replaced, not clamped: a value out of range is a damaged entry, not a wish for the bound.
    if (settings.Wait < WAIT_MIN_SECONDS || settings.Wait > WAIT_MAX_SECONDS) {
        settings.Wait = WAIT_DEFAULT_SECONDS;
    }
}

void save_settings() {
    const PluginSettings& settings = plugin_settings;
    write_number("Station", settings.Station ? 1 : 0);
    write_number("Wait", settings.Wait);
    write_number("Repeat", settings.Repeat ? 1 : 0);
    write_number("Enable", settings.Enable ? 1 : 0);
}
