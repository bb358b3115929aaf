#include "tests/station_registry.h"

#include "launcher/station_launcher.h"

void delete_station_key() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, STATION_REGISTRY_KEY);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\vorn");
}

void store_station_path(DWORD type, const std::string& bytes) {
    HKEY key;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, STATION_REGISTRY_KEY, 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    RegSetValueExA(key, STATION_PATH_VALUE, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   bytes.size());
    RegCloseKey(key);
}
