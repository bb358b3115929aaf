// gen_vorn.dll in a player that behaves as the real one: status notifications posted around
// every change, input plugins that read metadata keys their own way, and the two ways the
// player ends.

#include "tests/dialog_driver.h"
#include "tests/expected_report.h"
#include "tests/plugin_module_fixture.h"
#include "tests/temp_files.h"
#include "resources/dialog_ids.h"
#include "tools/companion_standin/station_mailslot.h"

namespace {

TEST_P(PluginOnEitherWindow, EverySongIsReportedOnceWithItsOwnFields) {
    StationMailslot mailslot;
    ASSERT_TRUE(mailslot.is_open());
    write_file(player.ini_path, "[vorn station song Plugin for winamp]\r\nWait=10\r\n");
    init();
    const auto entry = [](const char* name, const wchar_t* wide_name, bool lowercase_keys_only) {
        PlaylistEntry e = {name, name, "artist", "album", "genre"};
        e.wide_file_name = wide_name;
        e.lowercase_keys_only = lowercase_keys_only;
        return e;
    };
    // Monkey's Audio's input plugin claims .ape files and knows only the lower-case keys; the
    // last name holds a wave dash, read through the wide requests on a Unicode player.
    player.playlist = {entry("a.mp3", L"", false), entry("b.ape", L"", true),
                       entry("c.mp3", L"", false), entry("d.mp3", L"", false),
                       entry("e.mp3", L"", false), entry("f.ape", L"f\u301C.ape", true)};
    // Posted notifications are handled, then a timer tick a second.
    const auto play_for = [&](int seconds) {
        for (int i = 0; i < seconds; ++i) {
            pump_messages(1);
            SendMessageA(player.window(), WM_TIMER, 4441, 0);
        }
    };
    player.play_status = PLAYER_STOPPED;
    player.play(0);
    play_for(15);
    player.play(1); // the song ended, the next starts
    play_for(5);
    player.pause();
    play_for(3);
    player.resume();
    play_for(15);
    player.play(2); // skipped while playing
    play_for(15);
    player.pause();
    play_for(2);
    player.play(3); // skipped while paused
    play_for(15);
    player.stop();
    play_for(2);
    player.play(4); // started again after a stop
    play_for(15);
    player.play(5);
    play_for(15);
    player.stop();
    play_for(1);

    std::vector<std::string> expected;
    for (const PlaylistEntry& e : player.playlist) {
        expected.push_back(expected_report(e.title, "artist", "album", "genre"));
    }
    EXPECT_EQ(mailslot.take_all(), expected);
}

// When the Windows session ends, the player stops and calls quit from inside its own window
// procedure, with the plugin's hook still around it.
TEST_F(PluginModuleTest, EndOfSessionQuitsFromInsideThePlayersProcedure) {
    init();
    UINT quit_during = 0;
    player.quit_plugins = [&] {
        quit_during = player.messages.back().message;
        quit();
    };
    player.end_session();
    EXPECT_EQ(quit_during, UINT(WM_ENDSESSION));
    EXPECT_FALSE(initialised);
    EXPECT_EQ(ini_value("Wait"), 30);
    EXPECT_EQ(player.window_proc(), player_proc);
    player.canned_results[WM_APP] = 77;
    EXPECT_EQ(SendMessageW(player.window(), WM_APP, 0, 0), 77);
    pump_messages(1500); // the stop's notification reaches the player; no tick does
    EXPECT_EQ(count(WM_WA_IPC, IPC_CB_MISC_STATUS, IPC_CB_MISC), 1);
    EXPECT_EQ(count(WM_TIMER, 4441, 0), 0);
}

} // namespace
