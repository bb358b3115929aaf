#include "launcher/station_launcher.h"

#include <shellapi.h>
#include <string.h>

#include "common/ansi_code_page.h"
#include "common/plugin_constants.h"
#include "plugin/plugin_record.h"

char station_path[MAX_PATH];
wchar_t station_path_wide[MAX_PATH];

namespace {

// "レジストリキーを発見できませんでした。\nvorn stationがインストールされていないか、
// 仕様が変更された恐れがあります。" as code page 932 bytes, for MessageBoxA.
constexpr char STATION_NOT_FOUND_TEXT[] =
    "\x83\x8c\x83\x57\x83\x58\x83\x67\x83\x8a\x83\x4c\x81\x5b\x82\xf0\x94\xad\x8c\xa9\x82\xc5"
    "\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42"
    "\n"
    "vorn station"
    "\x82\xaa\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\x82\xb3\x82\xea\x82\xc4\x82\xa2"
    "\x82\xc8\x82\xa2\x82\xa9\x81\x41\x8e\x64\x97\x6c\x82\xaa\x95\xcf\x8d\x58\x82\xb3\x82\xea"
    "\x82\xbd\x8b\xb0\x82\xea\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb7\x81\x42";

// Reads the value whatever its registry type. The shell must never get an unterminated or
// cut-off path, so a value that lacks its NUL gets one, and one that leaves no room for it
// counts as not found.
bool read_station_path(HKEY key) {
    // One bounded read answers everything: a missing value fails, one too long for the buffer
    // fails with ERROR_MORE_DATA.
    DWORD length = sizeof station_path;
    if (RegQueryValueExA(key, STATION_PATH_VALUE, nullptr, nullptr,
                         reinterpret_cast<BYTE*>(station_path), &length) != ERROR_SUCCESS) {
        return false;
    }
    if (length > 0 && station_path[length - 1] == '\0') {
        return true;
    }
    if (length == sizeof station_path) {
        return false;
    }
    station_path[length] = '\0';
    return true;
}

enum class WidePath { Ansi, Found, TooLong };

// Reads the value as UTF-16, to learn whether the ANSI code page holds it.
//   Found    a string (REG_SZ or REG_EXPAND_SZ) that does not survive the ANSI code page, now
//            in station_path_wide and terminated
//   TooLong  a string that leaves no room for its NUL, counted in wchar_t; a string the code
//            page holds takes at least as many bytes, so the ANSI read would refuse it as well
//   Ansi     everything else, read through the ANSI functions (a missing value too)
WidePath read_wide_station_path(HKEY key) {
    station_path_wide[0] = L'\0';
    wchar_t path[MAX_PATH];
    DWORD type = REG_NONE;
    DWORD size = sizeof path;
    const LONG status = RegQueryValueExW(key, STATION_PATH_VALUE_W, nullptr, &type,
                                         reinterpret_cast<BYTE*>(path), &size);
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        return WidePath::Ansi;
    }
    const DWORD length = size / sizeof(wchar_t);
    if (status == ERROR_MORE_DATA ||
        (status == ERROR_SUCCESS && length == MAX_PATH && path[MAX_PATH - 1] != L'\0')) {
        return WidePath::TooLong;
    }
    if (status != ERROR_SUCCESS) {
        return WidePath::Ansi;
    }
    if (length < MAX_PATH) {
        path[length] = L'\0'; // a value stored without its NUL gets one
    }
    if (survives_ansi_code_page(path)) {
        return WidePath::Ansi;
    }
    memcpy(station_path_wide, path, sizeof path);
    return WidePath::Found;
}

} // namespace

bool find_station_path() {
    HKEY key = nullptr;
    char no_class[] = "";
    // Only the right to read the value: a player that is not elevated, as every standard user
    // runs it, may read keys under HKEY_LOCAL_MACHINE but not write them, and asking for more
    // would be refused outright.
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, STATION_REGISTRY_KEY, 0, no_class,
                        REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const WidePath wide = read_wide_station_path(key);
    const bool found =
        wide == WidePath::Found || (wide == WidePath::Ansi && read_station_path(key));
    RegCloseKey(key);
    return found;
}

void launch_station() {
    if (!find_station_path()) {
        MessageBoxA(nullptr, STATION_NOT_FOUND_TEXT, ERROR_CAPTION, 0);
    } else if (station_path_wide[0] != L'\0') {
        ShellExecuteW(plugin_record.hwndParent, L"open", station_path_wide, nullptr, nullptr,
                      SW_SHOWNORMAL);
    } else {
        ShellExecuteA(plugin_record.hwndParent, "open", station_path, nullptr, nullptr,
                      SW_SHOWNORMAL);
    }
}
