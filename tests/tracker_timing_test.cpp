// When a scheduled song is reported: tick counting, pauses, stops and the fetch gate.

#include "common/plugin_settings.h"
#include "core/tracker.h"
#include "tests/tracker_fixture.h"

namespace {

using Titles = std::vector<std::string>;

TEST_F(TrackerTest, ReportsOnTheTickAfterWaitHasRunOut) {
    for (int wait : {30, 10}) {
        SCOPED_TRACE(wait);
        reset_tracker();
        plugin_settings.Wait = wait;
        announce(song(wait == 30 ? "thirty" : "ten", "artist"));
        tick(wait);
        EXPECT_EQ(reported_titles(), Titles{});
        tick();
        EXPECT_EQ(reported_titles(), Titles{wait == 30 ? "thirty" : "ten"});
        tick(3 * wait);
        EXPECT_EQ(reported_titles(), Titles{});
    }
}

TEST_F(TrackerTest, PausedTicksNeitherCountNorCancel) {
    announce(song("paused", "artist"));
    tick(10);
    player.play_status = 3;
    tick(100);
    player.play_status = 1;
    tick(20);
    EXPECT_EQ(reported_titles(), Titles{});
    tick();
    EXPECT_EQ(reported_titles(), Titles{"paused"});
}

TEST_F(TrackerTest, StopSeenByATickCancelsAndForgetsTheSong) {
    announce(song("stopped", "artist"));
    tick(30);
    player.play_status = 0;
    tick();
    player.play_status = 1;
    tick(100);
    EXPECT_EQ(reported_titles(), Titles{});
    EXPECT_EQ(tracker.last_song.title[0], '\0');

    // The gate is open again after the stop, and the same song counts as new.
    notify();
    EXPECT_EQ(fetch_count(), 2);
    tick(31);
    EXPECT_EQ(reported_titles(), Titles{"stopped"});
}

TEST_F(TrackerTest, StopSeenOnlyByANotificationKeepsLastSongAndPending) {
    struct Case {
        int ticks_before_stop;
        Titles reported_after_restart;
    };
    const Case cases[] = {
        {31, {}},        // already reported: not again
        {10, {"again"}}, // still waiting: reported once its delay has run out afresh
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ticks_before_stop);
        reset_tracker();
        announce(song("again", "artist"));
        tick(c.ticks_before_stop);
        reported_titles();

        player.play_status = 0;
        notify();
        EXPECT_EQ(tracker.status_gate, 1);
        EXPECT_EQ(tracker.tick_count, 0);
        EXPECT_STREQ(tracker.last_song.title, "again");

        announce(song("again", "artist"));
        tick(30);
        EXPECT_EQ(reported_titles(), Titles{});
        tick(100);
        EXPECT_EQ(reported_titles(), c.reported_after_restart);
    }
}

TEST_F(TrackerTest, GateFetchesEverySecondNotificationAfterAStop) {
    load(song("gate", "artist"));
    const int expected_fetches[] = {1, 1, 2, 2, 3, 3};
    for (int expected : expected_fetches) {
        notify();
        EXPECT_EQ(fetch_count(), expected);
    }
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
    EXPECT_EQ(fetch_count(), 1);
    tick(26);
    EXPECT_EQ(reported_titles(), Titles{"earlier"});
}

TEST_F(TrackerTest, NotificationWhilePausedChangesNothing) {
    announce(song("paused", "artist"));
    tick(7);
    player.play_status = 3;
    notify();
    notify();
    EXPECT_EQ(fetch_count(), 1);
    EXPECT_EQ(tracker.status_gate, 0);
    EXPECT_EQ(tracker.tick_count, 7);
    EXPECT_TRUE(tracker.pending);
}

} // namespace
