// A long seeded random run through the real DLL: whatever the player and its files throw at
// the plugin, the player's window keeps working and every report is one the rules allow.
// Replay a failing run with VORN_RANDOM_SEED set to the seed the failure prints.

#include <stdio.h>
#include <stdlib.h>

#include <random>
#include <set>
#include <string>

#include "resources/dialog_ids.h"
#include "tests/expected_report.h"
#include "tests/plugin_module_fixture.h"
#include "tests/temp_files.h"
#include "tools/companion_standin/station_mailslot.h"

namespace {

constexpr int STEPS = 4000;

unsigned chosen_seed() {
    const char* replay = getenv("VORN_RANDOM_SEED");
    return replay != nullptr ? strtoul(replay, nullptr, 10) : GetTickCount();
}

// The seed also picks the kind of the player's window.
class RandomRun : public PluginModuleTest {
  protected:
    RandomRun() : RandomRun(chosen_seed()) {}
    explicit RandomRun(unsigned seed)
        : PluginModuleTest(seed % 2 ? WindowKind::Unicode : WindowKind::Ansi), seed(seed) {}

    std::string random_value() {
        switch (pick(6)) {
        case 0:
            return "";
        case 1:
            return "song " + std::to_string(pick(3));
        case 2:
            return std::string(1023, 'a' + pick(3)); // the longest a field holds
        case 3:
            return "<b>&amp;\"'</param>"; // markup goes out unescaped
        case 4:
            return "\x83\x5c\x95\x5c\x8e\xa6"; // Shift-JIS with a 0x5C trail byte
        default:
            return std::string(1 + pick(40), '\x82') + "\xa0";
        }
    }
    PlaylistEntry random_song() {
        const std::string file = "C:\\Music\\" + std::to_string(next_file++) + ".mp3";
        return {file, random_value(), random_value(), random_value(), random_value()};
    }
    unsigned pick(unsigned n) { return random() % n; }

    const unsigned seed;
    std::mt19937 random;
    int next_file = 0;
};

TEST_F(RandomRun, PlayerKeepsWorkingAndEveryReportIsAllowed) {
    SCOPED_TRACE(testing::Message() << "VORN_RANDOM_SEED=" << seed);
    random.seed(seed);

    StationMailslot mailslot;
    ASSERT_TRUE(mailslot.is_open());
    write_file(player.ini_path, "[vorn station song Plugin for winamp]\r\nWait=10\r\n");
    player.playlist.clear();
    for (int i = 0; i < 4; ++i) {
        player.playlist.push_back(random_song());
    }
    init();
    // Only the run's own ticks. The plugin's real timer would also tick inside the settings
    // dialog's modal loop, as often as the machine is slow there, and the run would no longer
    // follow from its seed alone. Those ticks are the dialog tests' concern.
    KillTimer(player.window(), 4441);

    bool enable = true;
    int reports = 0, flips = 0;
    std::set<std::string> allowed; // the reports of every song the player has served
    int reports_since_fetch = 0;
    for (int step = 0; step < STEPS; ++step) {
        SCOPED_TRACE(testing::Message() << "step " << step);
        for (const PlaylistEntry& song : player.playlist) {
            allowed.insert(expected_report(song.title, song.artist, song.album, song.genre));
        }
        // A fetch asks for the playlist position first.
        int fetched = 0;

        UINT message = WM_TIMER;
        WPARAM wParam = 4441;
        LPARAM lParam = 0;
        int times = 1;
        const unsigned kind = pick(20);
        if (kind < 8) {
            times = 1 + pick(15); // our timer's ticks
        } else if (kind == 8) {
            wParam = pick(2) ? 1 : 4442; // someone else's timer
        } else if (kind < 12) {
            // The player's status changes, mostly to playing.
            player.play_status = pick(4) == 0 ? 0 : pick(4) == 0 ? 3 : 1;
            message = WM_WA_IPC, wParam = 2, lParam = 603;
        } else if (kind < 14) {
            // The next song: new, or one already played.
            player.list_pos = pick(player.playlist.size() + 1);
            if (player.list_pos == LRESULT(player.playlist.size())) {
                player.playlist.push_back(random_song());
            }
            message = WM_WA_IPC, wParam = 2, lParam = 603;
        } else if (kind == 14) {
            // The player's other callbacks: title (0), title rating, pause, unpause (6 to 8).
            message = WM_WA_IPC, wParam = pick(3) == 0 ? 0 : 5 + pick(4), lParam = 603;
        } else if (kind == 15) {
            message = WM_WA_IPC, wParam = random(), lParam = 5000 + pick(100); // unknown request
        } else {
            if (kind == 16 && pick(10) == 0) {
                const bool flip_enable = pick(2);
                click_in_settings(flip_enable ? ENABLE_CHECK_ID : REPEAT_CHECK_ID);
                enable = flip_enable ? !enable : enable;
                ++flips;
            }
            // A message the plugin has nothing to do with.
            message = WM_APP + pick(16), wParam = random(), lParam = random();
            player.canned_results[message] = random();
        }

        for (int i = 0; i < times; ++i) {
            player.messages.clear();
            const LRESULT result = SendMessageA(player.window(), message, wParam, lParam);
            ASSERT_FALSE(player.messages.empty());
            fetched += fetches();
            const RecordedMessage& reached = player.messages.back();
            ASSERT_EQ(reached.message, message);
            ASSERT_EQ(reached.wParam, wParam);
            ASSERT_EQ(reached.lParam, lParam);
            if (message >= WM_APP) {
                ASSERT_EQ(result, player.canned_results[message]);
            }
        }

        if (fetched > 0) {
            reports_since_fetch = 0;
        }
        for (const std::string& report : mailslot.take_all()) {
            ASSERT_TRUE(enable) << "a report while Enable is off";
            ASSERT_EQ(allowed.count(report), 1u) << "not the report of a served song";
            ASSERT_EQ(report.find("<param key=\"song_title\"></param>"), std::string::npos);
            ASSERT_EQ(report.find("<param key=\"song_artist\"></param>"), std::string::npos);
            ASSERT_LE(++reports_since_fetch, 1) << "two reports for one scheduling";
            ++reports;
        }
    }
    // The run must have reached what it checks. Some seeds play long stretches paused or
    // stopped and give as few as 13 reports; the bound only has to show that reports came.
    EXPECT_GT(reports, 5);
    EXPECT_GT(flips, 4);
    printf("seed %u, %s player window: %d reports, %d settings changes\n", seed,
           player.kind() == WindowKind::Unicode ? "Unicode" : "ANSI", reports, flips);

    quit();
    FreeLibrary(module);
    module = nullptr;
    player.messages.clear();
    for (UINT message : {UINT(WM_TIMER), UINT(WM_WA_IPC), UINT(WM_APP)}) {
        SendMessageA(player.window(), message, 4441, 603);
    }
    EXPECT_EQ(player.messages.size(), 3u);
}

} // namespace
