#pragma once

#include <string>
#include <windows.h>

// The companion's registry entry in the test prefix, as its installer would leave it.

// Removes the key and its parent, so that a test starts as on a machine without the companion.
void delete_station_key();

// Stores "Application Path" with exactly these bytes and this registry type.
void store_station_path(DWORD type, const std::string& bytes);
// Stores it as UTF-16, as an installer that uses the wide functions does; `text` as it is,
// with no NUL added.
void store_station_path(DWORD type, const std::wstring& text);
