#include "core/tracker.h"

#include <string.h>
#include <wchar.h>

#include "common/plugin_constants.h"
#include "common/plugin_settings.h"
#include "core/metadata_read.h"
#include "core/song_report.h"
#include "core/stream_song.h"
#include "plugin/host_interface.h"
#include "plugin/plugin_record.h"

TrackerState tracker;
int32_t status_gate = STATUS_GATE_AT_LOAD;

namespace {

// Artist first, then title, then album, byte for byte; stops at the first that differs.
template <typename Song> bool is_same_song(const Song& last, const SongInfo& song) {
    return strcmp(last.artist, song.artist) == 0 && strcmp(last.title, song.title) == 0 &&
           strcmp(last.album, song.album) == 0;
}

void schedule_current_song() {
    memcpy(tracker.last_song.title, tracker.current.title, FIELD_SIZE);
    memcpy(tracker.last_song.artist, tracker.current.artist, FIELD_SIZE);
    memcpy(tracker.last_song.album, tracker.current.album, FIELD_SIZE);
    tracker.pending = true;
    tracker.tick_count = 0;
}

// A fetched song is scheduled unless it is the last one; with Repeat, always. A song started
// again from its beginning starts its delay again, while it waits.
void schedule_if_new() {
    if (plugin_settings.Repeat || !is_same_song(tracker.last_song, tracker.current)) {
        schedule_current_song();
    } else {
        // Already reported stays reported; still waiting starts its delay again.
        tracker.tick_count = 0;
    }
}

bool names_no_song(const SongInfo& song) {
    return song.title[0] == '\0' || song.artist[0] == '\0';
}

// Whether the entry at the list position is the one that plays. When the playing entry is
// removed from the list, the player goes on playing it and moves its list position back one
// place, to another entry. Players 5.5 and later name the playing file; older ones cannot
// tell, and the entry is taken for the playing one.
bool list_position_plays(WPARAM position) {
    const HWND player = plugin_record.hwndParent;
    const wchar_t* playing = player_text<wchar_t>(ask_player(player, IPC_GET_PLAYING_FILENAME));
    if (playing == nullptr) {
        return true;
    }
    const wchar_t* entry = player_text<wchar_t>(ask_player(player, IPC_GETPLAYLISTFILEW, position));
    return entry != nullptr && wcscmp(playing, entry) == 0;
}

// Reads the entry's song into `song`; returns whether the entry is a stream. The player hands
// each key unchanged to the input plugin that claims the entry. Most compare keys without
// regard to case, but some (Monkey's Audio's among them) know only the lower-case spelling the
// player itself uses, and answer any other with nothing.
bool read_song(WPARAM position, SongInfo& song) {
    struct Field {
        const char* key;
        char* destination;
    };
    const Field fields[] = {
        {"title", song.title},
        {"artist", song.artist},
        {"album", song.album},
        {"genre", song.genre},
    };
    bool is_stream = false;
    for (const Field& field : fields) {
        char value[FIELD_SIZE];
        read_metadata_field(position, field.key, value, &is_stream);
        memcpy(field.destination, value, FIELD_SIZE);
    }
    // A podcast episode's own tags name its song; a station has none.
    if (is_stream && song.title[0] == '\0' && song.artist[0] == '\0') {
        read_stream_song(position, song);
    }
    return is_stream;
}

// What a tick and a status notification both learn from a status other than playing. After a
// stop the next start is fetched anew, and is a replay; any other status is a pause.
void note_not_playing(LRESULT status) {
    if (status == PLAY_STATUS_STOPPED) {
        status_gate = 1;
        tracker.tick_count = 0;
        tracker.stream_entry = 0;
        tracker.held = false;
        tracker.seen_paused = false;
    } else if (status != PLAY_STATUS_PLAYING) {
        tracker.seen_paused = true;
    }
}

// The song read from the entry at `position` becomes the current one.
void take_song(WPARAM position, const SongInfo& song, bool is_stream) {
    tracker.current = song;
    tracker.stream_entry = is_stream ? entry_name_key(position) : 0;
    tracker.held = false;
}

WPARAM list_position() {
    return static_cast<WPARAM>(ask_player(plugin_record.hwndParent, IPC_GETLISTPOS));
}

// What a status notification announces, told from the player's status, the fetch gate and
// what the tracker has seen since the notification before.
enum class StatusEvent {
    NotPlaying, // a pause or a stop
    // The second announcement of a start, after the first one fetched: nothing new.
    Announced,
    // The second announcement right after a fetch taken for a resume: the song was started
    // again from its beginning while paused (a double-click, or a stop and play handled late).
    StartedWhilePaused,
    Started, // after a stop, a change of song or a replay: the song starts from its beginning
    Resumed, // playing again after a pause: the song goes on
};

StatusEvent status_event(HWND window) {
    if (ask_player(window, IPC_ISPLAYING) != PLAY_STATUS_PLAYING) {
        return StatusEvent::NotPlaying;
    }
    // A fetch always leaves the gate at 0.
    if (status_gate < 1) {
        return tracker.fetched_as_resume && !tracker.seen_paused ? StatusEvent::StartedWhilePaused
                                                                 : StatusEvent::Announced;
    }
    return tracker.seen_paused ? StatusEvent::Resumed : StatusEvent::Started;
}

void start_song() {
    status_gate = 0;
    fetch_song_info(list_position());
    // A stream that names no song yet (connecting) is no song: it neither becomes the last song
    // nor ends the wait of the one before. The song it names next is compared with the last one,
    // as any song fetched is, so a station started again is not reported again with Repeat off.
    if (tracker.stream_entry != 0 && names_no_song(tracker.current)) {
        tracker.held = true;
        tracker.tick_count = 0;
        return;
    }
    schedule_if_new();
}

// The song that was paused goes on where it was: the same song keeps its count, and is not
// reported again, with Repeat on or off. Repeat reports a replay, and a resume is none.
void resume_song() {
    const WPARAM position = list_position();
    // What played goes on, which after a list edit can be another entry than the one at the
    // list position: nothing is fetched, and the gate stays open.
    if (!list_position_plays(position)) {
        return;
    }
    status_gate = 0;
    tracker.fetched_as_resume = true;
    SongInfo song;
    const bool is_stream = read_song(position, song);
    // A station buffering names no song: the paused one is held until it names one again.
    if (is_stream && names_no_song(song)) {
        tracker.stream_entry = entry_name_key(position);
        tracker.held = true;
        return;
    }
    take_song(position, song, is_stream);
    if (!is_same_song(tracker.last_song, tracker.current)) {
        schedule_current_song();
    }
}

} // namespace

LRESULT CALLBACK hook_window_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == REPORT_TIMER_ID) {
        on_report_timer(window);
    } else if (message == WM_WA_IPC && lParam == IPC_CB_MISC) {
        if (wParam == IPC_CB_MISC_STATUS) {
            on_status_changed(window);
        } else if (wParam == IPC_CB_MISC_TITLE && tracker.stream_entry != 0) {
            // A file's song never changes with its title: after a file's fetch, this is only
            // passed on.
            on_stream_title_changed(window);
        }
    }
    if (tracker.window_is_unicode) {
        return CallWindowProcW(tracker.previous_window_proc, window, message, wParam, lParam);
    }
    return CallWindowProcA(tracker.previous_window_proc, window, message, wParam, lParam);
}

void install_hook(HWND window) {
    // Once is enough: installed over itself, the hook would keep itself as the procedure to
    // call on, and every message would recurse until the stack ran out.
    if (tracker.previous_window_proc != nullptr) {
        return;
    }
    const LONG_PTR hook = reinterpret_cast<LONG_PTR>(hook_window_proc);
    tracker.window_is_unicode = IsWindowUnicode(window) != FALSE;
    tracker.previous_window_proc = reinterpret_cast<WNDPROC>(
        tracker.window_is_unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, hook)
                                  : SetWindowLongPtrA(window, GWLP_WNDPROC, hook));
}

void remove_hook(HWND window) {
    const LONG_PTR hook = reinterpret_cast<LONG_PTR>(hook_window_proc);
    const LONG_PTR previous = reinterpret_cast<LONG_PTR>(tracker.previous_window_proc);
    if (tracker.window_is_unicode) {
        if (GetWindowLongPtrW(window, GWLP_WNDPROC) != hook) {
            return;
        }
        SetWindowLongPtrW(window, GWLP_WNDPROC, previous);
    } else {
        if (GetWindowLongPtrA(window, GWLP_WNDPROC) != hook) {
            return;
        }
        SetWindowLongPtrA(window, GWLP_WNDPROC, previous);
    }
    tracker.previous_window_proc = nullptr;
}

void on_report_timer(HWND window) {
    // The player posts both announcements of a start at once, and a tick comes only once the
    // posted messages are handled: after a tick, the next one is not the second of a start.
    tracker.fetched_as_resume = false;
    const LRESULT status = ask_player(window, IPC_ISPLAYING);
    // A held song is treated as paused: its ticks neither count nor report it.
    if (status == PLAY_STATUS_PLAYING && !tracker.held) {
        if (tracker.pending) {
            ++tracker.tick_count;
        }
        // A song without title or artist is never reported; it stays pending and the test is
        // made again at every tick.
        if (tracker.tick_count > plugin_settings.Wait && tracker.current.title[0] != '\0' &&
            tracker.current.artist[0] != '\0') {
            const char* report = build_song_report(tracker.current);
            if (plugin_settings.Enable) {
                send_song_report(report);
            }
            tracker.pending = false;
            tracker.tick_count = 0;
        }
    } else {
        if (status == PLAY_STATUS_STOPPED) {
            // Forgetting the last song lets the same song, played again after a stop, be
            // reported again.
            forget_last_song();
            tracker.pending = false;
        }
        // A pause, or a held song: ticks neither count nor cancel.
        note_not_playing(status);
    }
}

void on_status_changed(HWND window) {
    const StatusEvent event = status_event(window);
    tracker.fetched_as_resume = false;
    if (event != StatusEvent::NotPlaying) {
        // Whether or not this notification fetches, a pause before it is over, and the next
        // song started from its beginning (the player's own repeat) is a replay.
        tracker.seen_paused = false;
    }
    switch (event) {
    case StatusEvent::NotPlaying:
        // Asked again. A stop that is over before the next tick is seen only here; last_song
        // and pending are the timer's to clear.
        note_not_playing(ask_player(window, IPC_ISPLAYING));
        return;
    case StatusEvent::Announced:
        ++status_gate;
        return;
    case StatusEvent::StartedWhilePaused:
        ++status_gate;
        schedule_if_new();
        return;
    case StatusEvent::Started:
        start_song();
        return;
    case StatusEvent::Resumed:
        resume_song();
        return;
    }
}

void on_stream_title_changed(HWND window) {
    if (ask_player(window, IPC_ISPLAYING) != PLAY_STATUS_PLAYING) {
        return;
    }
    const WPARAM position = list_position();
    // The first notifications of a change of song come before its status notification, and a
    // stream removed from the list plays on while the list position moves to another entry:
    // either way the entry there is not the stream, and nothing is read from it. Which song
    // plays is unknown until the next fetch, so the waiting one is held.
    if (entry_name_key(position) != tracker.stream_entry) {
        // A station that left the list before naming a song goes on with songs that cannot be
        // read: the song before it is no longer the last one heard.
        if (tracker.stream_entry != 0 && names_no_song(tracker.current) &&
            !list_position_plays(position)) {
            forget_last_song();
        }
        tracker.held = true;
        return;
    }
    SongInfo song;
    read_song(position, song);
    // Connecting, buffering, a jingle or an advert name no song: the waiting one is held until
    // the stream names a song again, so that a short song before a long jingle is not reported.
    tracker.held = names_no_song(song);
    // The player announces the same song again on every bitrate change, buffering text, pause
    // and resume: that must never restart its delay, nor report it twice.
    if (tracker.held || is_same_song(tracker.current, song)) {
        return;
    }
    tracker.current = song;
    schedule_if_new();
}

void forget_last_song() {
    tracker.last_song.title[0] = '\0';
    tracker.last_song.artist[0] = '\0';
    tracker.last_song.album[0] = '\0';
}

void fetch_song_info(WPARAM position) {
    // Read whole before any of it is taken: the player's answers come one request at a time.
    SongInfo song;
    const bool is_stream = read_song(position, song);
    take_song(position, song, is_stream);
}
