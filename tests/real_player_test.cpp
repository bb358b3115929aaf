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

// A resume goes on with the song that was paused: it keeps the time the song has played and is
// not reported again, even where the player's notification lets the song be fetched again, also
// while a station buffers, and after the playing entry left the list. A song started again from
// its beginning starts its delay again, and with Repeat on is reported again; with Repeat off
// the same song right after itself is not, a station's included. A station that left the list
// is no longer read: no other entry's song is taken for its own.
TEST_F(PluginModuleTest, ResumesReplaysAndListEditsAsTheListenerHearsThem) {
    StationMailslot mailslot;
    ASSERT_TRUE(mailslot.is_open());
    write_file(player.ini_path, "[vorn station song Plugin for winamp]\r\nWait=10\r\n");
    init();
    KillTimer(player.window(), 4441); // only the test's ticks: a stop must go unseen by one
    // The first resume after a fetch only opens the gate; the second one fetches.
    const auto pause_and_resume = [&] {
        player.pause();
        play_for(1);
        player.resume();
        play_for(1);
    };
    // An Ogg station that buffers after 8 s of its song, and one after 14 s.
    const auto station = [](int seconds_before_buffering) {
        PlaylistEntry ogg = {"http://radio.example.jp:8000/yoru.ogg"};
        ogg.stream = StreamStation{
            L"",
            L"",
            {{L"S - song", seconds_before_buffering}, {L"Prebuffering : 42%", 8}, {L"S - song", 30}},
            1,
            0,
            StreamKind::Ogg};
        return ogg;
    };
    PlaylistEntry mp3_station = {"http://radio.example.jp:8000/sakura"};
    mp3_station.stream = StreamStation{L"", L"", {{L"S - song", 6}, {L"T - next", 30}}};
    PlaylistEntry one_song_station = {"http://radio.example.jp:8000/asa"};
    one_song_station.stream = StreamStation{L"", L"", {{L"S - song", 60}}};
    const PlaylistEntry files[] = {{"C:\\music\\a.mp3", "first", "artist", "album", "genre"},
                                   {"C:\\music\\b.mp3", "second", "artist", "album", "genre"}};
    const std::string first = expected_report("first", "artist", "album", "genre");
    const std::string station_song = expected_report("song", "S", "", "");
    struct Case {
        const char* name;
        bool repeat;
        std::vector<PlaylistEntry> playlist;
        std::function<void()> script; // from the start of entry 0
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a waiting song paused and resumed twice",
         false,
         {files[0], files[1]},
         [&] {
             play_for(7);
             pause_and_resume();
             pause_and_resume();
             play_for(3);
         },
         {first}},
        {"a waiting song started again while paused",
         false,
         {files[0], files[1]},
         [&] {
             play_for(7);
             pause_and_resume();
             player.pause();
             play_for(1);
             player.play(0);
             play_for(10);
         },
         {}},
        {"a station's reported song, resumed twice while it buffers",
         false,
         {station(14)},
         [&] {
             play_for(16);
             pause_and_resume();
             pause_and_resume();
             play_for(30);
         },
         {station_song}},
        {"a station's waiting song, resumed twice while it buffers",
         false,
         {station(8)},
         [&] {
             play_for(9);
             pause_and_resume();
             pause_and_resume();
             play_for(10);
         },
         {station_song}},
        {"a station played again right after itself",
         false,
         {one_song_station},
         [&] {
             play_for(13);
             player.play(0);
             play_for(13);
             player.stop();
             pump_messages(1);
             player.play(0);
             play_for(13);
         },
         {station_song}},
        {"the playing entry removed, then resumed twice",
         false,
         {files[0], files[1]},
         [&] {
             play_for(12);
             pause_and_resume();
             player.remove_entry(0);
             pause_and_resume();
             play_for(15);
         },
         {first}},
        {"a station removed from the list while its song waits",
         false,
         {mp3_station, files[0]},
         [&] {
             play_for(4);
             player.remove_entry(0);
             play_for(30);
         },
         {}},
        {"a song again after a station that left the list before naming one",
         false,
         {files[0], mp3_station, files[1]},
         [&] {
             play_for(12);
             player.play(1);
             play_for(1);
             player.remove_entry(1);
             play_for(20); // the listener hears "S - song", then "T - next"
             player.play(0);
             play_for(15);
         },
         {first, first}},
        {"Repeat on: paused and resumed twice",
         true,
         {files[0]},
         [&] {
             play_for(11);
             pause_and_resume();
             pause_and_resume();
             play_for(15);
         },
         {first}},
        {"Repeat on: the player's own repeat after a resume",
         true,
         {files[0]},
         [&] {
             play_for(11);
             pause_and_resume();
             player.play(0);
             play_for(15);
         },
         {first, first}},
        {"Repeat on: played again from its beginning while paused",
         true,
         {files[0]},
         [&] {
             play_for(11);
             player.pause();
             play_for(1);
             player.play(0);
             play_for(15);
         },
         {first, first}},
        {"Repeat on: played again while paused, after a resume that did not fetch",
         true,
         {files[0]},
         [&] {
             play_for(11);
             pause_and_resume();
             player.pause();
             play_for(1);
             player.play(0);
             play_for(15);
         },
         {first, first}},
        {"Repeat on: paused, stopped before a tick, played",
         true,
         {files[0]},
         [&] {
             play_for(11);
             player.pause();
             play_for(1);
             player.stop();
             pump_messages(1);
             player.play(0);
             play_for(15);
         },
         {first, first}},
    };
    bool repeat = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        player.stop();
        play_for(1);
        if (c.repeat != repeat) {
            click_in_settings(REPEAT_CHECK_ID);
            repeat = c.repeat;
        }
        player.playlist = c.playlist;
        player.play(0);
        c.script();
        player.stop();
        play_for(1);
        EXPECT_EQ(mailslot.take_all(), c.expected);
    }
}

// Streams: songs that change inside one playlist entry, each reported once, `Wait` after the
// stream names it, with Repeat off and on; the player announces the same song again every 2 s,
// as a variable bitrate makes it do. An MP3 station names its songs by its title, "Artist -
// Title". An Ogg Vorbis station answers no key: its songs, and its buffering, are only in the
// title the player shows. A podcast episode names its song by its tag, once the player has it.
TEST_P(PluginOnEitherWindow, EveryStreamSongIsReportedOnceAfterWait) {
    StationMailslot mailslot;
    ASSERT_TRUE(mailslot.is_open());
    write_file(player.ini_path, "[vorn station song Plugin for winamp]\r\nWait=10\r\n");
    init();
    PlaylistEntry radio = {"http://radio.example.jp:8000/sakura"};
    radio.stream = StreamStation{L"さくらFM",
                                 L"J-Pop",
                                 {{L"川村 葵 - 春の雨", 15},
                                  {L"さくらFM ジングル", 15}, // no artist
                                  {L"ミナト - 短い歌", 5},    // shorter than Wait
                                  {L"A - B - C", 15},
                                  {L"ミナト - ", 15}}}; // no title
    PlaylistEntry ogg = {"http://radio.example.jp:8000/yoru.ogg"};
    ogg.stream = StreamStation{L"",
                               L"",
                               {{L"川村 葵 - 春の雨", 12},
                                {L"Prebuffering : 42%", 2},
                                {L"川村 葵 - 春の雨", 12},
                                {L"ミナト - 短い歌", 5}, // then a jingle: held, never reported
                                {L"よるFM", 30},
                                {L"トウマ - 冬の灯台", 12}},
                               1,
                               2,
                               StreamKind::Ogg};
    PlaylistEntry podcast = {"https://podcast.example.jp/ep12.mp3", as_ansi(L"第12回"),
                             as_ansi(L"ミナト"), as_ansi(L"よるラジオ"), "Podcast"};
    podcast.stream = StreamStation{L"", L"", {}, 2, 2, StreamKind::Podcast};
    const PlaylistEntry file = {"C:\\music\\a.mp3", "file", "artist", "album", "genre"};
    // The file's report is the same bytes as without a stream.
    const std::string file_report = expected_report("file", "artist", "album", "genre");
    const auto song = [](const wchar_t* title, const wchar_t* artist, const wchar_t* album,
                         const char* genre) {
        return expected_report(as_ansi(title), as_ansi(artist), as_ansi(album), genre);
    };
    struct Case {
        const char* name;
        std::vector<PlaylistEntry> playlist;
        std::vector<std::pair<LRESULT, int>> plays; // entry, seconds
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // The station again is heard from its first title, after a file that makes it new.
        {"MP3 station",
         {radio, file},
         {{0, 66}, {1, 15}, {0, 17}},
         {song(L"春の雨", L"川村 葵", L"さくらFM", "J-Pop"),
          song(L"B - C", L"A", L"さくらFM", "J-Pop"), file_report,
          song(L"春の雨", L"川村 葵", L"さくらFM", "J-Pop")}},
        {"Ogg station, podcast",
         {ogg, podcast, file},
         {{0, 74}, {1, 15}, {2, 15}},
         {song(L"春の雨", L"川村 葵", L"", ""), song(L"冬の灯台", L"トウマ", L"", ""),
          expected_report(podcast.title, podcast.artist, podcast.album, podcast.genre),
          file_report}},
    };
    for (const Case& c : cases) {
        player.playlist = c.playlist;
        for (const bool repeat : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (repeat ? ", Repeat on" : ", Repeat off"));
            if (repeat) { // a new song schedules, the same song announced again never does
                click_in_settings(REPEAT_CHECK_ID);
            }
            for (const auto& [entry, seconds] : c.plays) {
                player.play(entry);
                play_for(seconds);
            }
            player.stop();
            play_for(1);
            EXPECT_EQ(mailslot.take_all(), c.expected);
        }
        click_in_settings(REPEAT_CHECK_ID);
    }
    // A player before 5.5 answers 1, no title: the Ogg station names no song.
    player.playlist = {ogg};
    player.playing_title_answer = 1;
    player.play(0);
    play_for(74);
    EXPECT_EQ(mailslot.take_all(), std::vector<std::string>{});
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
