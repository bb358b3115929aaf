#include "tools/player_standin/stream_station.h"

#include <string.h>

bool StreamReception::play_second(const StreamStation& station) {
    const std::wstring before = title(station);
    const bool was_connected = connected(station);
    ++seconds_;
    const bool bitrate_notice =
        station.bitrate_notice_seconds > 0 && seconds_ % station.bitrate_notice_seconds == 0;
    return bitrate_notice || title(station) != before || connected(station) != was_connected;
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
    if (station.kind == StreamKind::Ogg) {
        return std::nullopt;
    }
    // A podcast is a file to the MPEG plugin: it has no station to name.
    const bool podcast = station.kind == StreamKind::Podcast;
    if (_stricmp(key, "streamtitle") == 0) {
        return title(station);
    }
    if (_stricmp(key, "streamname") == 0) {
        return podcast ? L"" : station.name;
    }
    if (_stricmp(key, "streamgenre") == 0) {
        return podcast ? L"" : station.genre;
    }
    if (_stricmp(key, "streamurl") == 0) {
        return url;
    }
    return std::nullopt;
}

std::wstring StreamReception::shown_title(const StreamStation& station,
                                          const std::wstring& url) const {
    if (!connected(station)) {
        return station.kind == StreamKind::Ogg ? L"Connecting..." : url;
    }
    return station.kind == StreamKind::Podcast ? url : title(station);
}
