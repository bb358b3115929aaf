#pragma once

#include <stdint.h>
#include <windows.h>

#include "common/song_info.h"

// The song most recently marked for reporting. Genre is not kept: two songs that differ only
// in genre are the same song.
struct LastSong {
    char title[FIELD_SIZE];
    char artist[FIELD_SIZE];
    char album[FIELD_SIZE];
};

// Everything the tracker remembers, touched only on the player's UI thread. The member
// initialisers are the state at module load.
struct TrackerState {
    SongInfo current = {};   // the song most recently fetched from the player
    LastSong last_song = {}; // only a stop seen by a timer tick erases it
    bool pending = false;    // a report for `current` waits for its delay to run out
    int32_t tick_count = 0;  // playing ticks counted while pending; 0 whenever not pending
    WNDPROC previous_window_proc = nullptr; // the player's own procedure, replaced by the hook
    // The player's window was made with the wide (Unicode) API, so the hook is installed and
    // calls on with the wide functions: with the ANSI ones, Windows would turn every text
    // message to the player into code page 932 and back, losing what it cannot hold.
    bool window_is_unicode = false;
    // Where the current entry is a stream, the key of its name (entry_name_key), else 0. A
    // stream's songs change inside it, each announced by the player's title notification, and
    // are read from the entry at the list position while that is still the stream: `current` is
    // then always the song the stream last named, since naming no song changes nothing.
    uint64_t stream_entry = 0;
    // The stream names no song for now (connecting, buffering, a jingle): the waiting song
    // neither counts nor is replaced, as during a pause.
    bool held = false;
    // The player was seen paused, by a tick or a status notification, since the last status
    // notification that found it playing: the next one that finds it playing is a resume, and
    // the song goes on with its count. A stop clears it: play after a stop is a replay.
    bool seen_paused = false;
    // The last status notification fetched the song and was taken for a resume. A resume is
    // announced by one status notification, a start by two, posted together: a second one
    // right after it, with no tick or pause between, shows that the song was started from its
    // beginning while paused (a double-click, or a stop and play handled late): a replay.
    bool fetched_as_resume = false;
};

extern TrackerState tracker;

// Which status notifications fetch the song: the first one during playback after load or a
// stop, then every second one. Part of the tracker's state, but kept apart from TrackerState:
// its start value is 1, and in the struct it would put all 7 KB of song buffers into the DLL
// file as initialised data instead of zero-filled memory.
constexpr int32_t STATUS_GATE_AT_LOAD = 1;
extern int32_t status_gate;

// The player's main window procedure while the plugin is loaded. Acts on the report timer, the
// playback-status notification and, after a stream's fetch, the title notification; then hands
// every message, unchanged, to the player's own procedure and returns its result.
LRESULT CALLBACK hook_window_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Puts hook_window_proc in front of the window's procedure, the way the window was made (ANSI
// or Unicode), and keeps the procedure it replaced; does nothing while one is kept.
void install_hook(HWND window);

// Puts the replaced procedure back and forgets it, but only while the hook is still the
// window's procedure: a subclass installed after ours still calls ours, and that chain is its
// owner's to keep.
void remove_hook(HWND window);

// `window` is the window the hook was called for: the player's main window.
void on_report_timer(HWND window);
void on_status_changed(HWND window);
// A stream's next song is a newly fetched song; the same song announced again changes nothing,
// and no song at all holds the one waiting.
void on_stream_title_changed(HWND window);

void fetch_song_info(WPARAM position);

// Empties the three last_song fields, so that the next song fetched counts as new.
void forget_last_song();
