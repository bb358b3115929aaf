// Reading the four fields of the current playlist entry from the player.

#include <string.h>

#include "core/tracker.h"
#include "tests/tracker_fixture.h"

namespace {

TEST_F(TrackerTest, FieldsAreReadWithinTheirBuffers) {
    const std::string long_value(1500, 'L');
    std::string repeated; // what a player filling all 1024 bytes with "abc..." leaves readable
    while (repeated.size() < 1023) {
        repeated += "abc";
    }
    const std::string shift_jis = "\x95\x5c\x8e\xa6"; // 表示: second byte 0x5C, a backslash
    struct Case {
        const char* name;
        std::string value;
        bool without_nul;
        std::string expected;
    };
    const Case cases[] = {
        {"ordinary", "value", false, "value"},
        {"code page 932 bytes", shift_jis, false, shift_jis},
        {"longer than the buffer", long_value, false, std::string(1023, 'L')},
        {"player writes no NUL", "abc", true, repeated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        player.fill_metadata_without_nul = c.without_nul;
        load(song(c.value.c_str(), "artist", c.value.c_str(), c.value.c_str()));
        char result[FIELD_SIZE];
        read_metadata_field(0, "Title", result);
        EXPECT_EQ(std::string(result), c.expected.substr(0, 1023));

        fetch_song_info(0);
        EXPECT_EQ(std::string(tracker.current.title), c.expected.substr(0, 1023));
        EXPECT_EQ(std::string(tracker.current.album), c.expected.substr(0, 1023));
    }
}

TEST_F(TrackerTest, UnfilledFieldsReadEmpty) {
    load(song("title", "artist"));
    memset(&tracker.current, 'x', sizeof tracker.current);
    fetch_song_info(5); // no such entry: the player names no file and fills nothing
    EXPECT_STREQ(tracker.current.title, "");
    EXPECT_STREQ(tracker.current.genre, "");

    char result[FIELD_SIZE];
    read_metadata_field(0, "Comment", result);
    EXPECT_STREQ(result, "");
}

} // namespace
