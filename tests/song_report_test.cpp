// The report's bytes on the wire and the mailslot it goes to.

#include <string.h>

#include "common/plugin_constants.h"
#include "core/song_report.h"
#include "tests/tracker_fixture.h"

namespace {

SongInfo make_song(const std::string& title, const std::string& artist, const std::string& album,
                   const std::string& genre) {
    SongInfo info = {};
    memcpy(info.title, title.data(), title.size());
    memcpy(info.artist, artist.data(), artist.size());
    memcpy(info.album, album.data(), album.size());
    memcpy(info.genre, genre.data(), genre.size());
    return info;
}

std::string expected_report(const std::string& title, const std::string& artist,
                            const std::string& album, const std::string& genre) {
    return "<?xml version=\"1.0\" encoding=\"Shift-JIS\" ?>\n"
           "<reports>\n"
           "<report type=\"song\">\n"
           "<param key=\"song_title\">" +
           title + "</param>\n<param key=\"song_artist\">" + artist +
           "</param>\n<param key=\"song_album\">" + album + "</param>\n<param key=\"song_genre\">" +
           genre + "</param>\n</report>\n</reports>\n" + std::string(1, '\0');
}

TEST_F(TrackerTest, ReportCarriesTheValuesByteForByte) {
    const std::string max(1023, 'M');
    struct Case {
        const char* name;
        std::string title, artist, album, genre;
    };
    const Case cases[] = {
        {"markup passes unescaped", "a<b>&\"c'", "</param>", "&amp;", "<"},
        {"code page 932 bytes", "\x95\x5c\x8e\xa6", "\x83\x5c\x83\x74\x83\x67", "", ""},
        {"longest values", max, max, max, max},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string want = expected_report(c.title, c.artist, c.album, c.genre);
        send_song_report(build_song_report(make_song(c.title, c.artist, c.album, c.genre)));
        const std::vector<std::string> got = reports();
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0], want);
    }
    // The fixed text is 229 bytes: with four longest values the message is 4322 bytes.
    EXPECT_EQ(expected_report(max, max, max, max).size(), 229u + 4 * 1023 + 1);
}

TEST_F(TrackerTest, ReportValueStopsAtItsFieldEvenWithoutNul) {
    SongInfo info;
    memset(&info, 'z', sizeof info);
    const std::string z(1023, 'z');
    EXPECT_EQ(std::string(build_song_report(info)) + '\0', expected_report(z, z, z, z));
}

TEST_F(TrackerTest, MailslotPathEndsWithTheUserName) {
    char user[256];
    DWORD size = sizeof user;
    ASSERT_TRUE(GetUserNameA(user, &size));
    EXPECT_EQ(std::string(mailslot_path), std::string("\\\\.\\mailslot\\") +
                                              STATION_MAILSLOT_NAMESPACE + "\\report_song\\" +
                                              user);
}

TEST_F(TrackerTest, ReportToAnAbsentCompanionIsLostSilently) {
    mailslot.reset();
    send_song_report(build_song_report(make_song("lost", "artist", "", "")));
    mailslot = std::make_unique<MailslotReader>(mailslot_path);
    send_song_report(build_song_report(make_song("found", "artist", "", "")));
    EXPECT_EQ(reported_titles(), std::vector<std::string>{"found"});
}

} // namespace
