// Reading the current entry's fields from the player, whatever the player writes.

#include "core/tracker.h"
#include "tests/tracker_fixture.h"

namespace {

TEST_F(TrackerTest, FieldsEndWithinTheirBuffers) {
    std::string abc; // what a player filling all 1024 bytes with "abcabc..." leaves readable
    while (abc.size() < 1023) {
        abc += "abc";
    }
    const std::string shift_jis = "\x95\x5c\x8e\xa6"; // second byte 0x5C, a backslash
    struct Case {
        std::string value;
        bool without_nul;
        std::string expected;
    };
    const Case cases[] = {
        {shift_jis, false, shift_jis},
        {std::string(1500, 'L'), false, std::string(1023, 'L')},
        {"abc", true, abc},
    };
    for (const Case& c : cases) {
        player.fill_metadata_without_nul = c.without_nul;
        load(song(c.value.c_str(), "artist", "album", c.value.c_str()));
        fetch_song_info(0);
        EXPECT_EQ(std::string(tracker.current.title), c.expected);
        EXPECT_EQ(std::string(tracker.current.genre), c.expected);
    }
    fetch_song_info(5); // no such entry: the player names no file and fills nothing
    EXPECT_STREQ(tracker.current.title, "");
}

} // namespace
