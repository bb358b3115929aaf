// When the tracker reports a song: the delay, pauses, stops, the fetch gate, and which songs
// count as the same.

#include "common/plugin_settings.h"
#include "core/tracker.h"
#include "tests/tracker_fixture.h"

namespace {

using Titles = std::vector<std::string>;

TEST_F(TrackerTest, ReportsOnTheTickAfterWaitCountingOnlyPlayingTicks) {
    for (int wait : {30, 10}) {
        SCOPED_TRACE(wait);
        reset_tracker();
        plugin_settings.Wait = wait;
        announce(song("song", "artist"));
        tick(wait - 5);
        player.play_status = 3; // paused: neither counts nor cancels
        tick(100);
        player.play_status = 1;
        tick(5);
        EXPECT_EQ(reported_titles(), Titles{});
        tick();
        EXPECT_EQ(reported_titles(), Titles{"song"});
        tick(3 * wait);
        EXPECT_EQ(reported_titles(), Titles{});
    }
}

TEST_F(TrackerTest, StopSeenByATickCancelsAndForgets) {
    announce(song("song", "artist"));
    tick(30);
    player.play_status = 0;
    tick();
    player.play_status = 1;
    tick(100);
    EXPECT_EQ(reported_titles(), Titles{});
    notify(); // the gate is open again, and the same song counts as new
    tick(31);
    EXPECT_EQ(reported_titles(), Titles{"song"});
}

TEST_F(TrackerTest, StopSeenOnlyByANotificationKeepsLastSongAndPending) {
    // Already reported: not again. Still waiting: its delay starts again from 0.
    for (int ticks : {31, 10}) {
        SCOPED_TRACE(ticks);
        reset_tracker();
        announce(song("song", "artist"));
        tick(ticks);
        reported_titles();
        player.play_status = 0;
        notify();
        load(song("song", "artist"));
        notify(); // the stop opened the gate
        EXPECT_EQ(fetch_count(), 2);
        tick(30);
        EXPECT_EQ(reported_titles(), Titles{});
        tick(100);
        EXPECT_EQ(reported_titles(), ticks == 31 ? Titles{} : Titles{"song"});
    }
}

TEST_F(TrackerTest, GateFetchesEverySecondNotificationAfterAStop) {
    load(song("song", "artist"));
    for (int expected : {1, 1, 2, 2, 3}) {
        notify();
        EXPECT_EQ(fetch_count(), expected);
    }
    player.play_status = 3; // a notification while paused leaves the gate closed
    notify();
    player.play_status = 1;
    notify();
    EXPECT_EQ(fetch_count(), 3);
    player.play_status = 0;
    tick();
    player.play_status = 1;
    notify();
    EXPECT_EQ(fetch_count(), 4);
}

TEST_F(TrackerTest, SongChangeAtAClosedGateIsNotFetched) {
    announce(song("earlier", "artist"));
    tick(5);
    load(song("later", "artist"));
    notify();
    tick(26);
    EXPECT_EQ(reported_titles(), Titles{"earlier"});
}

TEST_F(TrackerTest, SecondSongAfterAReportedOne) {
    struct Case {
        const char* name;
        bool repeat;
        PlaylistEntry second;
        bool stop_between;
        Titles reported;
    };
    const PlaylistEntry first = song("title", "artist", "album", "pop");
    const Case cases[] = {
        {"same song", false, first, false, {}},
        {"same song, Repeat on", true, first, false, {"title"}},
        {"same song after a stop", false, first, true, {"title"}},
        {"genre differs only", false, song("title", "artist", "album", "jazz"), false, {}},
        {"album differs", false, song("title", "artist", "other"), false, {"title"}},
        {"artist differs in case", false, song("title", "ARTIST", "album"), false, {"title"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset_tracker();
        plugin_settings.Repeat = c.repeat;
        announce(first);
        tick(31);
        reported_titles();
        if (c.stop_between) {
            player.play_status = 0;
            tick();
        }
        announce(c.second);
        tick(100);
        EXPECT_EQ(reported_titles(), c.reported);
    }
}

TEST_F(TrackerTest, SameSongStillWaitingStartsItsDelayAgain) {
    announce(song("song", "artist"));
    tick(20);
    announce(song("song", "artist"));
    tick(30);
    EXPECT_EQ(reported_titles(), Titles{});
    tick();
    EXPECT_EQ(reported_titles(), Titles{"song"});
}

TEST_F(TrackerTest, SongsThatAreNotSent) {
    for (const PlaylistEntry& entry : {song("", "artist"), song("title", "")}) {
        reset_tracker();
        announce(entry);
        tick(1000);
        EXPECT_EQ(reported_titles(), Titles{}); // never, however long it plays
    }
    reset_tracker();
    plugin_settings.Enable = false;
    announce(song("quiet", "artist"));
    tick(31);
    plugin_settings.Enable = true; // the dropped report is not sent later
    tick(100);
    EXPECT_EQ(reported_titles(), Titles{});
}

} // namespace
