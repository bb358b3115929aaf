#include "tests/tracker_fixture.h"

#include "common/plugin_constants.h"
#include "common/plugin_settings.h"
#include "core/song_report.h"
#include "core/tracker.h"
#include "plugin/plugin_record.h"

PlaylistEntry song(const char* title, const char* artist, const char* album, const char* genre) {
    // Named after the title, within the room a player has for a file name.
    return {"C:\\music\\" + std::string(title).substr(0, 100) + ".mp3", title, artist, album,
            genre};
}

void TrackerTest::SetUp() {
    tracker = TrackerState();
    status_gate = STATUS_GATE_AT_LOAD;
    plugin_settings = PluginSettings();
    plugin_record.hwndParent = player.window();
    install_hook(player.window());
    make_mailslot_path();
    mailslot = std::make_unique<StationMailslot>();
    ASSERT_TRUE(mailslot->is_open());
    player.messages.clear();
}

void TrackerTest::TearDown() {
    remove_hook(player.window());
}

void TrackerTest::reset_tracker() {
    const TrackerState installed = tracker;
    tracker = TrackerState();
    status_gate = STATUS_GATE_AT_LOAD;
    tracker.previous_window_proc = installed.previous_window_proc;
    tracker.window_is_unicode = installed.window_is_unicode;
    player.messages.clear();
}

void TrackerTest::tick(int count) {
    for (int i = 0; i < count; ++i) {
        SendMessageA(player.window(), WM_TIMER, REPORT_TIMER_ID, 0);
    }
}

void TrackerTest::load(const PlaylistEntry& entry) {
    player.playlist = {entry};
    player.list_pos = 0;
    player.play_status = 1;
}

void TrackerTest::announce(const PlaylistEntry& entry) {
    load(entry);
    const int before = fetch_count();
    for (int i = 0; i < 2 && fetch_count() == before; ++i) {
        notify();
    }
    ASSERT_EQ(fetch_count(), before + 1);
}

int TrackerTest::fetch_count() const {
    int count = 0;
    for (const RecordedMessage& m : player.messages) {
        count += m.message == WM_WA_IPC && m.lParam == IPC_GETLISTPOS;
    }
    return count;
}

std::vector<std::string> TrackerTest::reported_titles() {
    std::vector<std::string> titles;
    const std::string open = "<param key=\"song_title\">";
    for (const std::string& report : mailslot->take_all()) {
        const size_t start = report.find(open) + open.size();
        titles.push_back(report.substr(start, report.find("</param>", start) - start));
    }
    return titles;
}
