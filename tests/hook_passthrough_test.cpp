// Every message reaches the player's own window procedure unchanged, in order, and its result
// comes back unchanged; the hook's own requests to the player appear before the message that
// caused them.

#include "common/plugin_constants.h"
#include "plugin/host_interface.h"
#include "tests/tracker_fixture.h"

namespace {

constexpr WPARAM ANY = static_cast<WPARAM>(-1); // the request record's address varies

struct Expected {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

void expect_sequence(const std::vector<RecordedMessage>& got, const std::vector<Expected>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got[i].message, want[i].message);
        if (want[i].wParam != ANY) {
            EXPECT_EQ(got[i].wParam, want[i].wParam);
        }
        EXPECT_EQ(got[i].lParam, want[i].lParam);
    }
}

const Expected is_playing = {WM_WA_IPC, 0, IPC_ISPLAYING};
const Expected field_read[] = {{WM_WA_IPC, 0, IPC_GETPLAYLISTFILEW},
                               {WM_WA_IPC, 0, IPC_GETPLAYLISTFILE},
                               {WM_WA_IPC, ANY, IPC_GET_EXTENDED_FILE_INFO}};

// A fetch: whether the player plays, the playing entry, then its four fields.
std::vector<Expected> fetch_requests() {
    std::vector<Expected> fetch = {is_playing, {WM_WA_IPC, 0, IPC_GETLISTPOS}};
    for (int field = 0; field < 4; ++field) {
        fetch.insert(fetch.end(), std::begin(field_read), std::end(field_read));
    }
    return fetch;
}

TEST_F(TrackerTest, MessagesPassThroughUnchanged) {
    struct Case {
        const char* name;
        LRESULT play_status;
        Expected sent;
        LRESULT result;
        std::vector<Expected> requests; // the hook's own, before `sent` arrives
    };
    const Expected notification = {WM_WA_IPC, IPC_CB_MISC_STATUS, IPC_CB_MISC};
    const std::vector<Expected> fetch = fetch_requests();
    const Case cases[] = {
        {"own timer", 1, {WM_TIMER, REPORT_TIMER_ID, 0}, 0, {is_playing}},
        {"other timer", 1, {WM_TIMER, REPORT_TIMER_ID + 1, 0}, 0, {}},
        {"user message", 1, {WM_USER + 77, 12, 34}, 0x5eed, {}},
        {"version request", 1, {WM_WA_IPC, 0, IPC_GETVERSION}, 0x5666, {}},
        {"other callback", 1, {WM_WA_IPC, IPC_CB_MISC_STATUS + 1, IPC_CB_MISC}, 0, {}},
        {"status notification", 1, notification, 0, fetch},
        {"notification at a closed gate", 1, notification, 0, {is_playing}},
        {"notification while paused", 3, notification, 0, {is_playing, is_playing}},
        {"title notification of a file", 1, {WM_WA_IPC, IPC_CB_MISC_TITLE, IPC_CB_MISC}, 0, {}},
    };
    player.canned_results[WM_USER + 77] = 0x5eed;
    load(song("title", "artist"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        player.play_status = c.play_status;
        player.messages.clear();
        const LRESULT result =
            SendMessageA(player.window(), c.sent.message, c.sent.wParam, c.sent.lParam);
        EXPECT_EQ(result, c.result);
        std::vector<Expected> want = c.requests;
        want.push_back(c.sent);
        expect_sequence(player.messages, want);
    }
}

// A file takes the file road whatever tags it lacks: its fetch asks what a tagged file's asks,
// and its title notification asks nothing. Right after a station that named no song, before the
// file is fetched, the title notification asks which entry and which file play, and reads
// nothing from a file.
TEST_F(TrackerTest, AFileIsNeverReadAsAStream) {
    PlaylistEntry station = {"http://radio.example.jp:8000/sakura"};
    station.stream = StreamStation{L"さくらFM", L"J-Pop", {{L"A - B", 60}}};
    const Expected title = {WM_WA_IPC, IPC_CB_MISC_TITLE, IPC_CB_MISC};
    const Expected status = {WM_WA_IPC, IPC_CB_MISC_STATUS, IPC_CB_MISC};
    std::vector<Expected> gate_fetch_title = {is_playing, status};
    for (const Expected& request : fetch_requests()) {
        gate_fetch_title.push_back(request);
    }
    gate_fetch_title.push_back(status);
    gate_fetch_title.push_back(title);
    for (const PlaylistEntry& file : {song("", ""), song("title", ""), song("", "artist")}) {
        SCOPED_TRACE("title \"" + file.title + "\", artist \"" + file.artist + "\"");
        reset_tracker();
        load(station);
        notify();
        load(file);
        player.messages.clear();
        SendMessageA(player.window(), title.message, title.wParam, title.lParam);
        expect_sequence(player.messages, {is_playing,
                                          {WM_WA_IPC, 0, IPC_GETLISTPOS},
                                          {WM_WA_IPC, 0, IPC_GETPLAYLISTFILEW},
                                          {WM_WA_IPC, 0, IPC_GET_PLAYING_FILENAME},
                                          {WM_WA_IPC, 0, IPC_GETPLAYLISTFILEW},
                                          title});
        player.messages.clear();
        notify();
        notify();
        SendMessageA(player.window(), title.message, title.wParam, title.lParam);
        expect_sequence(player.messages, gate_fetch_title);
    }
}

} // namespace
