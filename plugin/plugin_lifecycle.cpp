#include "plugin/plugin_lifecycle.h"

#include <windows.h>

#include "common/plugin_constants.h"
#include "common/plugin_settings.h"
#include "core/song_report.h"
#include "core/tracker.h"
#include "launcher/station_launcher.h"
#include "plugin/host_interface.h"
#include "plugin/plugin_record.h"
#include "settings/settings_store.h"

namespace {

constexpr LRESULT OLDEST_SUPPORTED_HOST_VERSION = 0x2090;

// "vorn stationプラグインの動作にはWinamp v2.9以上が必要です" as code page 932 bytes.
constexpr char HOST_TOO_OLD_TEXT[] =
    "vorn station"
    "\x83\x76\x83\x89\x83\x4f\x83\x43\x83\x93\x82\xcc\x93\xae\x8d\xec\x82\xc9\x82\xcd"
    "Winamp v2.9"
    "\x88\xc8\x8f\xe3\x82\xaa\x95\x4b\x97\x76\x82\xc5\x82\xb7";

} // namespace

void check_host_version() {
    if (ask_player(plugin_record.hwndParent, IPC_GETVERSION) < OLDEST_SUPPORTED_HOST_VERSION) {
        MessageBoxA(nullptr, HOST_TOO_OLD_TEXT, ERROR_CAPTION, 0);
    }
}

int __cdecl init() {
    const HWND player = plugin_record.hwndParent;
    load_settings();
    // The two possible message boxes come before the hook and the timer, so tracking starts
    // only once the user has dismissed them.
    check_host_version();
    if (plugin_settings.Station) {
        launch_station();
    }
    install_hook(player);
    forget_last_song();
    make_mailslot_path();
    SetTimer(player, REPORT_TIMER_ID, REPORT_TIMER_INTERVAL_MS, nullptr);
    tracker.pending = false;
    tracker.tick_count = 0;
    return 0;
}

void __cdecl quit() {
    const HWND player = plugin_record.hwndParent;
    save_settings();
    KillTimer(player, REPORT_TIMER_ID);
    // The player may unload the module after quit, and a message reaching the hook then would
    // crash it; so the player's own procedure goes back.
    remove_hook(player);
}
