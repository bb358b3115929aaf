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

// While it lives, the companion's key (which must exist) lets everyone only read it, as a
// standard user may under HKEY_LOCAL_MACHINE: Wine then refuses KEY_ALL_ACCESS as Windows
// does. Its own DACL comes back afterwards, so that the key can be deleted again.
class ReadOnlyStationKey {
  public:
    ReadOnlyStationKey();
    ~ReadOnlyStationKey();
    ReadOnlyStationKey(const ReadOnlyStationKey&) = delete;
    ReadOnlyStationKey& operator=(const ReadOnlyStationKey&) = delete;

  private:
    HKEY key_ = nullptr; // kept open with the right to give the DACL back
    std::string own_dacl_;
};
