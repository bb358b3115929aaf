// Songs whose file names code page 932 cannot hold, through gen_vorn.dll: today's players keep
// names in UTF-16, and the ANSI name they hand out for such a file names nothing.

#include "tests/expected_report.h"
#include "tests/plugin_module_fixture.h"
#include "tests/temp_files.h"
#include "tools/companion_standin/station_mailslot.h"

namespace {

// On a Unicode player each song is found by its exact name, through the wide requests where
// the name does not survive the code page. On an older player, which knows only the ANSI
// requests and answers 1 to the wide ones, the same songs, held under their ANSI names, are
// read through the ANSI requests, and the answer 1 is never taken for a pointer.
TEST_P(PluginOnEitherWindow, SongsAreReportedWhateverTheirFilesAreCalled) {
    StationMailslot mailslot;
    ASSERT_TRUE(mailslot.is_open());
    write_file(player.ini_path, "[vorn station song Plugin for winamp]\r\nWait=10\r\n");
    init();
    const std::wstring long_title(600, L'\u3042'); // 1200 bytes in code page 932
    std::string cut_title;                         // whole characters within 1023 bytes
    for (int i = 0; i < 511; ++i) {
        cut_title += "\x82\xa0";
    }
    struct Case {
        const char* name;
        std::wstring file;
        std::wstring title;
        std::string reported_title; // code page 932
        bool wide;                  // read through the wide requests on a Unicode player
    };
    const Case cases[] = {
        {"wave dash", L"C:\\Music\\\u661F\u301C\u51AC.mp3", L"\u661F\uFF5E\u51AC",
         "\x90\xaf\x81\x60\x93\x7e", true},
        {"decomposed kana", L"C:\\Music\\\u30AB\u3099\u30E9\u30B9.m4a", L"\u30AC\u30E9\u30B9",
         "\x83\x4b\x83\x89\x83\x58", true},
        {"Hangul", L"C:\\Music\\\uD55C\uAD6D.mp3", L"\uD55C\uAD6D", "??", true},
        {"accented letter", L"C:\\Music\\Beyonc\u00E9 - Halo.mp3", L"Halo", "Halo", true},
        {"surrogate pair", L"C:\\Music\\\U00020BB7\u7530.flac", L"\u7530", "\x93\x63", true},
        {"plain kanji", L"C:\\Music\\\u97F3\u697D.mp3", L"\u97F3\u697D", "\x89\xb9\x8a\x79", false},
        {"plain ASCII", L"C:\\Music\\song.mp3", L"song", "song", false},
        {"long title", L"C:\\Music\\\u301C.mp3", long_title, cut_title, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlaylistEntry entry = {as_ansi(c.file), c.reported_title, "artist", "album", "genre"};
        entry.wide_file_name = c.file;
        entry.wide_title = c.title;
        player.playlist = {entry};
        player.list_pos = 0;
        player.play_status = 0; // a stop seen by a tick: the next song is fetched and new
        SendMessageA(player.window(), WM_TIMER, 4441, 0);
        player.play_status = 1;
        player.messages.clear();
        player.notify_status_changed();
        for (int tick = 0; tick < 11; ++tick) {
            SendMessageA(player.window(), WM_TIMER, 4441, 0);
        }
        EXPECT_EQ(mailslot.take_all(), std::vector<std::string>{expected_report(
                                           c.reported_title, "artist", "album", "genre")});
        const bool wide = c.wide && player.kind() == WindowKind::Unicode;
        EXPECT_EQ(count(WM_WA_IPC, 0, IPC_GETPLAYLISTFILEW), 4);
        EXPECT_EQ(count(WM_WA_IPC, 0, IPC_GETPLAYLISTFILE), wide ? 0 : 4);
    }
}

} // namespace
