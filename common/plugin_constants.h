#pragma once

// The once-a-second timer that the plugin sets on the player's main window.
constexpr unsigned REPORT_TIMER_ID = 4441;
constexpr unsigned REPORT_TIMER_INTERVAL_MS = 1000;

// Shown at the end of the plugin's description and in the settings dialog. A macro, so that
// it can be joined to other literals at compile time.
#define PLUGIN_VERSION_TEXT "v1.21"

// Caption of every message box: "vorn station pluginエラー" as code page 932 bytes, because
// the boxes are shown with MessageBoxA on Japanese Windows.
constexpr char ERROR_CAPTION[] = "vorn station plugin\x83\x47\x83\x89\x81\x5b";

// The companion's own segment of its mailslot names. The companion stand-in uses it too, so
// both ends always agree.
constexpr char STATION_MAILSLOT_NAMESPACE[] = "com.vorn.station";
