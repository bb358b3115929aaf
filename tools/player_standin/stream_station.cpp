#include "tools/player_standin/stream_station.h"

#include <string.h>

bool StreamReception::play_second(const StreamStation& station) {
    const std::wstring before = title(station);
    ++seconds_;
    const bool bitrate_notice =
        station.bitrate_notice_seconds > 0 && seconds_ % station.bitrate_notice_seconds == 0;
    return bitrate_notice || title(station) != before;
}

std::wstring StreamReception::title(const StreamStation& station) const {
    int at = seconds_ - station.connecting_seconds;
    if (at < 0 || station.titles.empty()) {
        return L"";
    }
    for (const StreamTitle& title : station.titles) {
        if (at < title.seconds) {
            return title.text;
        }
        at -= title.seconds;
    }
    return station.titles.back().text;
}

std::optional<std::wstring> StreamReception::value(const StreamStation& station,
                                                   const std::wstring& url, const char* key) const {
    if (_stricmp(key, "streamtitle") == 0) {
        return title(station);
    }
    if (_stricmp(key, "streamname") == 0) {
        return station.name;
    }
    if (_stricmp(key, "streamgenre") == 0) {
        return station.genre;
    }
    if (_stricmp(key, "streamurl") == 0) {
        return url;
    }
    return std::nullopt;
}
