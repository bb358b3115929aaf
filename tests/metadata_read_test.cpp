// Reading the current entry's fields from the player, whatever the player writes.

#include "core/stream_song.h"
#include "core/tracker.h"
#include "plugin/host_interface.h"
#include "tests/tracker_fixture.h"

namespace {

TEST_F(TrackerTest, FieldsEndWithinTheirBuffers) {
    std::string abc; // what a player filling all 1024 bytes with "abcabc..." leaves readable
    while (abc.size() < 1023) {
        abc += "abc";
    }
    const std::string shift_jis = "\x95\x5c\x8e\xa6"; // second byte 0x5C, a backslash
    std::string kan, a_kanji; // 漢 (0x8A 0xBF); 亜 (0x88 0x9F) ends in a lead byte's value
    for (int i = 0; i < 600; ++i) {
        kan += "\x8a\xbf";
        a_kanji += "\x88\x9f";
    }
    struct Case {
        std::string value;
        bool without_nul;
        std::string expected;
    };
    const Case cases[] = {
        {shift_jis, false, shift_jis},
        {std::string(1500, 'L'), false, std::string(1023, 'L')},
        {"abc", true, abc},
        // Cut byte by byte by the player: half a character is dropped, a whole one kept.
        {kan, false, kan.substr(0, 1022)},
        {"a" + a_kanji, false, "a" + a_kanji.substr(0, 1022)},
    };
    for (const Case& c : cases) {
        player.fill_metadata_without_nul = c.without_nul;
        load({"C:\\music\\field.mp3", c.value, "artist", "album", c.value});
        fetch_song_info(0);
        EXPECT_EQ(std::string(tracker.current.title), c.expected);
        EXPECT_EQ(std::string(tracker.current.genre), c.expected);
    }
    player.messages.clear();
    fetch_song_info(5); // no such entry: no file name, so nothing is asked with it
    EXPECT_STREQ(tracker.current.title, "");
    for (const RecordedMessage& m : player.messages) {
        EXPECT_TRUE(m.lParam == IPC_GETPLAYLISTFILEW || m.lParam == IPC_GETPLAYLISTFILE)
            << "request " << m.lParam;
    }
}

// A station as an input plugin that answers the ANSI requests itself sends it: its own bytes,
// cut byte by byte as lstrcpynA cuts them.
WNDPROC standin_procedure;
const char* station_value;
LRESULT CALLBACK raw_station(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WA_IPC && lParam == IPC_GET_EXTENDED_FILE_INFO) {
        const auto* request = reinterpret_cast<const extendedFileInfoStruct*>(wParam);
        lstrcpynA(request->ret, station_value, static_cast<int>(request->retlen));
        return 1;
    }
    return CallWindowProcW(standin_procedure, window, message, wParam, lParam);
}

TEST_F(TrackerTest, StationValuesEndInWholeCharacters) {
    std::string kan; // 漢 (0x8A 0xBF)
    for (int i = 0; i < 600; ++i) {
        kan += "\x8a\xbf";
    }
    struct Case {
        std::string value, artist, title, album; // the station's name, read the same way
    };
    const Case cases[] = {
        {kan, "", kan.substr(0, 1022), kan.substr(0, 1022)}, // cut inside its last character
        // Latin-1's "é" is a lead byte here, and the blank after it no trail byte.
        {"Beyonc\xe9 - Halo", "Beyonc", "Halo", "Beyonc\xe9 - Halo"},
    };
    load({"http://radio.example/live"});
    standin_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(player.window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(raw_station)));
    for (const Case& c : cases) {
        station_value = c.value.c_str();
        SongInfo song = {};
        read_stream_song(0, song);
        EXPECT_EQ(std::string(song.artist), c.artist);
        EXPECT_EQ(std::string(song.title), c.title);
        EXPECT_EQ(std::string(song.album), c.album);
    }
    SetWindowLongPtrW(player.window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(standin_procedure));
}

} // namespace
