// Which fetched songs are scheduled and reported: repeats, identity, empty fields, Enable.

#include "common/plugin_settings.h"
#include "core/tracker.h"
#include "tests/tracker_fixture.h"

namespace {

using Titles = std::vector<std::string>;

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
        {"other title", false, song("next", "artist", "album"), false, {"next"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset_tracker();
        plugin_settings.Repeat = c.repeat;
        announce(first);
        tick(31);
        EXPECT_EQ(reported_titles(), Titles{"title"});
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
    announce(song("waiting", "artist"));
    tick(20);
    announce(song("waiting", "artist"));
    tick(30);
    EXPECT_EQ(reported_titles(), Titles{});
    tick();
    EXPECT_EQ(reported_titles(), Titles{"waiting"});
}

TEST_F(TrackerTest, EmptyTitleOrArtistIsNeverReported) {
    for (const PlaylistEntry& entry : {song("", "artist"), song("title", "")}) {
        reset_tracker();
        announce(entry);
        tick(1000);
        EXPECT_EQ(reports().size(), 0u);
        EXPECT_TRUE(tracker.pending);
    }
}

TEST_F(TrackerTest, EnableOffBuildsAndDropsTheReport) {
    plugin_settings.Enable = false;
    announce(song("quiet", "artist"));
    tick(31);
    EXPECT_FALSE(tracker.pending);
    plugin_settings.Enable = true;
    tick(100);
    EXPECT_EQ(reports().size(), 0u);
}

} // namespace
