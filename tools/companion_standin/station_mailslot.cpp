#include "tools/companion_standin/station_mailslot.h"

#include "common/plugin_constants.h"

std::string station_mailslot_path() {
    char user[256] = "";
    DWORD size = sizeof user;
    GetUserNameA(user, &size);
    return std::string("\\\\.\\mailslot\\") + STATION_MAILSLOT_NAMESPACE + "\\report_song\\" + user;
}

// Read time-out 0: an empty mailslot fails a read at once instead of waiting.
StationMailslot::StationMailslot(const std::string& path, DWORD max_message_size)
    : slot_(CreateMailslotA(path.c_str(), max_message_size, 0, nullptr)) {}

StationMailslot::~StationMailslot() {
    if (is_open()) {
        CloseHandle(slot_);
    }
}

std::vector<std::string> StationMailslot::take_all() {
    std::vector<std::string> messages;
    char buffer[8192];
    DWORD read = 0;
    while (ReadFile(slot_, buffer, sizeof buffer, &read, nullptr)) {
        messages.emplace_back(buffer, read);
    }
    return messages;
}
