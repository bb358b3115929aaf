#include "settings/settings_store.h"

#include <windows.h>

#include "common/plugin_settings.h"
#include "plugin/host_interface.h"
#include "plugin/plugin_record.h"

namespace {

// The player's own text, kept as it is: the player keeps it for as long as it runs. An answer
// below 0x10000 is no pointer; the bare name makes the profile functions use the Windows
// directory.
const char* settings_file = "winamp.ini";

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
    const LRESULT answer = SendMessageA(plugin_record.hwndParent, WM_WA_IPC, 0, IPC_GETINIFILE);
    settings_file = static_cast<ULONG_PTR>(answer) < 0x10000
                        ? "winamp.ini"
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
