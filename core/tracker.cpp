#include "core/tracker.h"

#include <string.h>

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
bool is_last_song(const SongInfo& song) {
    const LastSong& last = tracker.last_song;
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

// A fetched song is scheduled unless it is the last one; with Repeat, always.
void schedule_if_new() {
    if (plugin_settings.Repeat || !is_last_song(tracker.current)) {
        schedule_current_song();
    } else {
        // Already reported stays reported; still waiting starts its delay again.
        tracker.tick_count = 0;
    }
}

} // namespace

LRESULT CALLBACK hook_window_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == REPORT_TIMER_ID) {
        on_report_timer(window);
    } else if (message == WM_WA_IPC && lParam == IPC_CB_MISC) {
        if (wParam == IPC_CB_MISC_STATUS) {
            on_status_changed(window);
        } else if (wParam == IPC_CB_MISC_TITLE && tracker.current_is_stream) {
            // A file's songs never change with its title: for one, this is only passed on.
            on_stream_title_changed(window);
        }
    }
    if (tracker.window_is_unicode) {
        return CallWindowProcW(tracker.previous_window_proc, window, message, wParam, lParam);
    }
    return CallWindowProcA(tracker.previous_window_proc, window, message, wParam, lParam);
}

void install_hook(HWND window) {
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
        if (GetWindowLongPtrW(window, GWLP_WNDPROC) == hook) {
            SetWindowLongPtrW(window, GWLP_WNDPROC, previous);
        }
    } else if (GetWindowLongPtrA(window, GWLP_WNDPROC) == hook) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, previous);
    }
}

void on_report_timer(HWND window) {
    const LRESULT status = ask_player(window, IPC_ISPLAYING);
    if (status == PLAY_STATUS_PLAYING) {
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
    } else if (status == PLAY_STATUS_STOPPED) {
        // Forgetting the last song lets the same song, played again after a stop, be
        // reported again.
        forget_last_song();
        tracker.pending = false;
        status_gate = 1;
        tracker.tick_count = 0;
        tracker.current_is_stream = false;
    }
    // Any other status is a pause: ticks neither count nor cancel.
}

void on_status_changed(HWND window) {
    if (ask_player(window, IPC_ISPLAYING) != PLAY_STATUS_PLAYING) {
        // A stop that is over before the next tick is seen only here; last_song and pending
        // are the timer's to clear.
        if (ask_player(window, IPC_ISPLAYING) == PLAY_STATUS_STOPPED) {
            status_gate = 1;
            tracker.tick_count = 0;
            tracker.current_is_stream = false; // the next start is fetched anew
        }
        return;
    }
    if (status_gate < 1) {
        ++status_gate;
        return;
    }
    status_gate = 0;
    fetch_song_info(static_cast<WPARAM>(ask_player(plugin_record.hwndParent, IPC_GETLISTPOS)));
    schedule_if_new();
}

void on_stream_title_changed(HWND window) {
    if (ask_player(window, IPC_ISPLAYING) != PLAY_STATUS_PLAYING) {
        return;
    }
    const WPARAM position =
        static_cast<WPARAM>(ask_player(plugin_record.hwndParent, IPC_GETLISTPOS));
    char stream_title[FIELD_SIZE];
    read_stream_title(position, stream_title);
    // The player announces the same title again on every bitrate change, pause and resume:
    // that must never restart a song's delay.
    if (strcmp(stream_title, tracker.stream_title) == 0) {
        return;
    }
    memcpy(tracker.stream_title, stream_title, FIELD_SIZE);
    read_stream_song(position, tracker.stream_title, tracker.current);
    schedule_if_new();
}

void forget_last_song() {
    tracker.last_song.title[0] = '\0';
    tracker.last_song.artist[0] = '\0';
    tracker.last_song.album[0] = '\0';
}

void fetch_song_info(WPARAM position) {
    struct Field {
        const char* key;
        char* destination;
    };
    // The player hands each key unchanged to the input plugin that claims the file. Most
    // compare keys without regard to case, but some (Monkey's Audio's among them) know only
    // the lower-case spelling the player itself uses, and answer any other with nothing.
    const Field fields[] = {
        {"title", tracker.current.title},
        {"artist", tracker.current.artist},
        {"album", tracker.current.album},
        {"genre", tracker.current.genre},
    };
    for (const Field& field : fields) {
        char value[FIELD_SIZE];
        read_metadata_field(position, field.key, value);
        memcpy(field.destination, value, FIELD_SIZE);
    }
    // A stream has no title or artist of its own: its song is the station's current title.
    tracker.current_is_stream =
        tracker.current.title[0] == '\0' && tracker.current.artist[0] == '\0';
    if (tracker.current_is_stream) {
        read_stream_title(position, tracker.stream_title);
        read_stream_song(position, tracker.stream_title, tracker.current);
    }
}
