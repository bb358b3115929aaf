// The report's bytes on the wire and the mailslot it goes to.

#include <string.h>

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

} // namespace
