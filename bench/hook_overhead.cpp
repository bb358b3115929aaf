// What the plugin's hook costs the player: round trips of a message the plugin does not handle,
// and of the title notification the player posts for a file every few seconds, through the
// player stand-in's window (a) as it is, (b) subclassed by a procedure that only passes
// messages on, (c) hooked by the plugin's procedure, installed as init installs it; and
// the cost of one status notification that fetches a song (from an older player, and from a
// Unicode player through the wide requests, for a file name outside code page 932), of a
// stream's title notification on each of the roads its song is read by, and of one timer tick.

#include <stdio.h>

#include <algorithm>
#include <vector>

#include <windows.h>

#include "common/plugin_constants.h"
#include "common/plugin_settings.h"
#include "core/stream_song.h"
#include "core/tracker.h"
#include "plugin/host_interface.h"
#include "plugin/plugin_record.h"
#include "tools/player_standin/player_standin.h"

namespace {

constexpr int ROUNDS = 101;
constexpr int SENDS_PER_ROUND = 20000;
constexpr int FETCHES = 2001;
constexpr UINT UNHANDLED = WM_APP + 1;

WNDPROC player_proc = nullptr;

LRESULT CALLBACK pass_on(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(player_proc, window, message, wParam, lParam);
}

double now_ns() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart * 1e9 / frequency.QuadPart;
}

double median(std::vector<double> samples) {
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

// Nanoseconds per message, one batch.
double time_batch(PlayerStandin& player, UINT message, WPARAM wParam, LPARAM lParam) {
    player.messages.clear();
    const double start = now_ns();
    for (int i = 0; i < SENDS_PER_ROUND; ++i) {
        SendMessageA(player.window(), message, wParam, lParam);
    }
    return (now_ns() - start) / SENDS_PER_ROUND;
}

// Microseconds of status notifications that each fetch the current song.
std::vector<double> time_fetches(PlayerStandin& player) {
    std::vector<double> fetches;
    for (int i = 0; i < FETCHES; ++i) {
        status_gate = 1; // this notification fetches
        forget_last_song();
        player.messages.clear();
        const double start = now_ns();
        player.notify_status_changed();
        fetches.push_back((now_ns() - start) / 1000);
    }
    return fetches;
}

// A stream playing past its connecting second, with the notifications of its start dropped.
void play_stream(PlayerStandin& player, const PlaylistEntry& stream) {
    player.playlist = {stream};
    player.play(0);
    player.pass_time(3);
    MSG message;
    while (PeekMessageA(&message, player.window(), 0, 0, PM_REMOVE)) {
    }
}

// Microseconds of title notifications of a stream that names the same song each time, as the
// player posts them every few seconds.
std::vector<double> time_title_notifications(PlayerStandin& player) {
    tracker.stream_entry = entry_name_key(0); // the stream at the list position
    std::vector<double> notifications;
    for (int i = 0; i < FETCHES; ++i) {
        player.messages.clear();
        const double start = now_ns();
        SendMessageA(player.window(), WM_WA_IPC, IPC_CB_MISC_TITLE, IPC_CB_MISC);
        notifications.push_back((now_ns() - start) / 1000);
    }
    return notifications;
}

} // namespace

int main() {
    PlayerStandin player(WindowKind::Ansi); // subclassed below with the ANSI functions
    player.messages.reserve(SENDS_PER_ROUND + 16);
    player.playlist = {
        {"C:\\Music\\0.mp3", "\x8f\x74\x82\xcc\x89\x4a", "artist", "album", "J-Pop"}};
    plugin_record.hwndParent = player.window();
    player_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(player.window(), GWLP_WNDPROC));
    tracker.previous_window_proc = player_proc;

    const WNDPROC procedures[] = {player_proc, pass_on, hook_window_proc};
    struct Passed {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::vector<double> round_trips[3];
    };
    // The playing entry is a file, so its title notification is the hook's to pass on only.
    Passed passed[] = {
        {"an unhandled message", UNHANDLED, 0, 0, {}},
        {"a file's IPC_CB_MISC_TITLE", WM_WA_IPC, IPC_CB_MISC_TITLE, IPC_CB_MISC, {}}};
    // Interleaved, so that drift in the machine's speed touches all alike.
    for (int round = 0; round < ROUNDS; ++round) {
        for (Passed& p : passed) {
            for (int i = 0; i < 3; ++i) {
                SetWindowLongPtrA(player.window(), GWLP_WNDPROC,
                                  reinterpret_cast<LONG_PTR>(procedures[i]));
                p.round_trips[i].push_back(time_batch(player, p.message, p.wParam, p.lParam));
            }
        }
    }

    // The hook stays installed for the plugin's own work.
    const std::vector<double> fetches = time_fetches(player);
    std::vector<double> wide_fetches;
    {
        PlayerStandin unicode_player(WindowKind::Unicode);
        PlaylistEntry entry = player.playlist[0];
        entry.wide_file_name = L"C:\\Music\\\u661F\u301C\u51AC.mp3"; // a WAVE DASH
        unicode_player.playlist = {entry};
        const TrackerState ansi_hook = tracker;
        plugin_record.hwndParent = unicode_player.window();
        install_hook(unicode_player.window());
        wide_fetches = time_fetches(unicode_player);
        remove_hook(unicode_player.window());
        tracker = ansi_hook;
        plugin_record.hwndParent = player.window();
    }
    struct Road {
        const char* name;
        StreamKind kind;
        PlaylistEntry stream;
        std::vector<double> notifications;
    };
    Road roads[] = {
        {"its own tags (a podcast episode)",
         StreamKind::Podcast,
         {"http://podcast.example.jp/12.mp3", "\x8f\x74\x82\xcc\x89\x4a", "artist", "album"},
         {}},
        {"the station's title (an MP3 station)",
         StreamKind::Shoutcast,
         {"http://radio.example.jp:8000/sakura"},
         {}},
        {"the title the player shows (Ogg Vorbis)",
         StreamKind::Ogg,
         {"http://radio.example.jp/yoru.ogg"},
         {}},
    };
    for (Road& road : roads) {
        road.stream.stream =
            StreamStation{L"FM", L"J-Pop", {{L"artist - title", 60}}, 1, 2, road.kind};
        play_stream(player, road.stream);
        road.notifications = time_title_notifications(player);
    }
    tracker.stream_entry = 0;
    tracker.held = false;
    tracker.pending = false;
    tracker.tick_count = 0;
    std::vector<double> ticks;
    for (int round = 0; round < ROUNDS; ++round) {
        ticks.push_back(time_batch(player, WM_TIMER, REPORT_TIMER_ID, 0));
    }
    SetWindowLongPtrA(player.window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(player_proc));

    bool within_goal = true;
    for (const Passed& p : passed) {
        const double a = median(p.round_trips[0]), b = median(p.round_trips[1]),
                     c = median(p.round_trips[2]);
        printf("SendMessageA round trip of %s, median of %d batches of %d:\n", p.name, ROUNDS,
               SENDS_PER_ROUND);
        printf("  (a) not subclassed                 %8.1f ns\n", a);
        printf("  (b) subclassed, passing on only    %8.1f ns\n", b);
        printf("  (c) hooked by the plugin           %8.1f ns\n", c);
        printf("  c/b = %.3f   c/a = %.3f\n", c / b, c / a);
        within_goal = within_goal && c / b <= 1.05;
    }
    printf("Status notification that fetches a song (4 fields), median of %d:\n", FETCHES);
    printf("  from an older player, ANSI requests    %8.1f us\n", median(fetches));
    printf("  from a Unicode player, wide requests   %8.1f us\n", median(wide_fetches));
    printf("Title notification of a stream that names the same song, median of %d, by:\n", FETCHES);
    for (const Road& road : roads) {
        printf("  %-40s %8.1f us\n", road.name, median(road.notifications));
    }
    printf("Timer tick while playing, nothing due, median of %d batches: %.1f ns\n", ROUNDS,
           median(ticks));
    return within_goal ? 0 : 1;
}
