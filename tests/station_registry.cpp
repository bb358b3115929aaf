#include "tests/station_registry.h"

#include <sddl.h>

#include "launcher/station_launcher.h"

void delete_station_key() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, STATION_REGISTRY_KEY);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\vorn");
}

namespace {

HKEY open_station_key() {
    HKEY key;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, STATION_REGISTRY_KEY, 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    return key;
}

} // namespace

void store_station_path(DWORD type, const std::string& bytes) {
    HKEY key = open_station_key();
    RegSetValueExA(key, STATION_PATH_VALUE, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   bytes.size());
    RegCloseKey(key);
}

void store_station_path(DWORD type, const std::wstring& text) {
    HKEY key = open_station_key();
    RegSetValueExW(key, STATION_PATH_VALUE_W, 0, type, reinterpret_cast<const BYTE*>(text.data()),
                   text.size() * sizeof(wchar_t));
    RegCloseKey(key);
}

ReadOnlyStationKey::ReadOnlyStationKey() {
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, STATION_REGISTRY_KEY, 0, READ_CONTROL | WRITE_DAC, &key_);
    DWORD size = 0;
    RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
    own_dacl_.resize(size);
    RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, own_dacl_.data(), &size);
    PSECURITY_DESCRIPTOR read_only = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                         &read_only, nullptr);
    RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, read_only);
    LocalFree(read_only);
}

ReadOnlyStationKey::~ReadOnlyStationKey() {
    RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, own_dacl_.data());
    RegCloseKey(key_);
}
