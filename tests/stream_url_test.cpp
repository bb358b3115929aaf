// Which playlist names are followed as streams: that decides which songs reach the companion,
// and which requests a file's notifications cost.

#include "core/stream_url.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StreamUrl, OnlyNetworkSchemesAreStreams) {
    struct Case {
        const char* name;
        bool stream;
        const char* why;
    };
    const Case cases[] = {
        {"http://radio.example:8000/live", true, "an MP3 station"},
        {"HTTPS://radio.example/ogg", true, "a scheme in capitals"},
        {"Mms://media.example/a", true, "a scheme in mixed case"},
        {"rtsp://media.example/a", true, "RTSP"},
        {"uvox://radio.example/a", true, "Ultravox"},
        {"svn+ssh://a", true, "a plus in the scheme"},
        {"x-radio.v2://a", true, "a hyphen and a dot in the scheme"},
        {"cdax://a", true, "a scheme that only begins like cda"},
        {"fil://a", true, "a scheme that is only the start of file"},
        {"cda://D,3", false, "a track of an audio CD"},
        {"CDA://D,3", false, "an audio CD track in capitals"},
        {"file:///C:/Music/a.mp3", false, "a file as a URL"},
        {"File:///C:/Music/a.mp3", false, "a file URL in mixed case"},
        {"C://Music/a.mp3", false, "a drive letter, not a scheme"},
        {"C:\\Music\\a.mp3", false, "a local path"},
        {"Music\\a.mp3", false, "a relative name"},
        {"://x", false, "no scheme at all"},
        {"1http://x", false, "a scheme that starts with a digit"},
        {"http:/x", false, "one slash"},
        {"http:x", false, "no slashes"},
        {"", false, "the empty name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const std::string ansi = c.name;
        const std::wstring wide(ansi.begin(), ansi.end());
        EXPECT_EQ(is_stream_url(ansi.c_str()), c.stream) << ansi;
        EXPECT_EQ(is_stream_url(wide.c_str()), c.stream) << ansi;
    }
    EXPECT_FALSE(is_stream_url(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(is_stream_url(static_cast<const wchar_t*>(nullptr)));
}

} // namespace
