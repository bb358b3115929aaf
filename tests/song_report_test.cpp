// The report's bytes on the wire and the mailslot it goes to.

#include <string.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "common/plugin_settings.h"
#include "core/song_report.h"
#include "tests/expected_report.h"
#include "tests/tracker_fixture.h"

namespace {

TEST_F(TrackerTest, ReportCarriesTheValuesByteForByte) {
    const std::string max(1023, 'M');
    const std::string cases[][4] = {
        {"a<b>&\"c'", "</param>", "&amp;", "<"},          // markup passes unescaped
        {"\x95\x5c\x8e\xa6", "\x83\x5c\x83\x74", "", ""}, // code page 932, empty values
        {max, max, max, max},
    };
    for (const auto& c : cases) {
        SongInfo info = {};
        memcpy(info.title, c[0].data(), c[0].size());
        memcpy(info.artist, c[1].data(), c[1].size());
        memcpy(info.album, c[2].data(), c[2].size());
        memcpy(info.genre, c[3].data(), c[3].size());
        send_song_report(build_song_report(info));
        EXPECT_EQ(mailslot->take_all(),
                  std::vector<std::string>{expected_report(c[0], c[1], c[2], c[3])});
    }
    // 229 bytes of fixed text: the longest message is 4322 bytes.
    EXPECT_EQ(expected_report(max, max, max, max).size(), 229u + 4 * 1023 + 1);
}

TEST_F(TrackerTest, ReportGoesToTheUsersMailslotOrIsLost) {
    EXPECT_EQ(mailslot_path, station_mailslot_path());
    EXPECT_NE(mailslot_path[strlen(mailslot_path) - 1], '\\');

    mailslot.reset(); // the companion is not running
    send_song_report(build_song_report(SongInfo{"lost", "artist", "", ""}));
    mailslot = std::make_unique<StationMailslot>();
    send_song_report(build_song_report(SongInfo{"found", "artist", "", ""}));
    EXPECT_EQ(reported_titles(), std::vector<std::string>{"found"});

    // A companion with room for small messages only. Windows refuses the longer report and
    // Wine delivers it; either way it is never cut, and the plugin goes on without waiting.
    mailslot.reset();
    mailslot = std::make_unique<StationMailslot>(station_mailslot_path(), 300);
    SongInfo long_title = {"", "artist", "", ""};
    memset(long_title.title, 'L', 100);
    send_song_report(build_song_report(long_title));
    send_song_report(build_song_report(SongInfo{"short", "artist", "", ""}));
    std::vector<std::string> titles = reported_titles();
    ASSERT_FALSE(titles.empty());
    EXPECT_EQ(titles.back(), "short");
    if (titles.size() == 2) {
        EXPECT_EQ(titles[0], long_title.title);
    }
}

// A companion that has stopped reading: its mailslot fills up (about 64 KB under Wine), and a
// write that waited for room would freeze the player's thread for good.
TEST_F(TrackerTest, CompanionThatStopsReadingNeverStallsThePlayer) {
    plugin_settings.Wait = 10;
    // Should a write block, the mailslot is drained after the time limit, so that the test
    // fails instead of hanging the run.
    std::atomic<bool> done{false}, drained{false};
    std::thread watchdog([&] {
        for (const DWORD start = GetTickCount(); !done; Sleep(100)) {
            if (GetTickCount() - start > 20000) {
                mailslot->take_all();
                drained = true;
            }
        }
    });
    std::vector<std::string> expected;
    DWORD slowest = 0;
    for (int i = 0; i < 400; ++i) {
        const std::string title = std::to_string(i) + std::string(150, 't'); // about 400 bytes
        const DWORD start = GetTickCount();
        announce(song(title.c_str(), "artist"));
        tick(11);
        slowest = std::max(slowest, GetTickCount() - start);
        expected.push_back(expected_report(title, "artist", "", ""));
    }
    done = true;
    watchdog.join();
    EXPECT_FALSE(drained) << "a report's write stalled the player's thread";
    EXPECT_LT(slowest, 1000u);
    // What fitted is whole reports, the first ones; the rest were dropped whole.
    const std::vector<std::string> queued = mailslot->take_all();
    ASSERT_FALSE(queued.empty());
    ASSERT_LT(queued.size(), expected.size());
    EXPECT_EQ(queued, std::vector<std::string>(expected.begin(), expected.begin() + queued.size()));
    announce(song("after the drain", "artist"));
    tick(11);
    EXPECT_EQ(reported_titles(), std::vector<std::string>{"after the drain"});
}

} // namespace
