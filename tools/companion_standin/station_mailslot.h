#pragma once

// The companion's end of the song reports: the per-user mailslot, read without waiting.

#include <string>
#include <vector>
#include <windows.h>

// "\\.\mailslot\com.vorn.station\report_song\<user name>" for the current Windows user.
std::string station_mailslot_path();

// The longest report and its NUL: what the companion must have room for.
constexpr DWORD REPORT_MESSAGE_MAX_SIZE = 4322;

class StationMailslot {
  public:
    explicit StationMailslot(const std::string& path = station_mailslot_path(),
                             DWORD max_message_size = REPORT_MESSAGE_MAX_SIZE);
    ~StationMailslot();
    StationMailslot(const StationMailslot&) = delete;
    StationMailslot& operator=(const StationMailslot&) = delete;

    bool is_open() const { return slot_ != INVALID_HANDLE_VALUE; }
    // The messages waiting, each with all its bytes (a report's final NUL included).
    std::vector<std::string> take_all();

  private:
    HANDLE slot_;
};
