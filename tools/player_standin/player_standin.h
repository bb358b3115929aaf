#pragma once

// A stand-in for the player: a hidden top-level window of the player's class, "Winamp v1.x",
// that plays the player's main window. It answers the requests the plugin sends from a state
// the caller scripts, announces changes of playback status to itself, and records every message
// that reaches its own window procedure, so a test can see exactly what the plugin passed on.
//
// Where the plugin can tell, it does what the real player does:
// - Its window is a Unicode one, as today's players make it. It answers the wide requests, and
//   answers the ANSI ones by converting: a file name with "?" for what the code page lacks
//   (WC_NO_BEST_FIT_CHARS), which names no file. An ANSI window, an older player, is the other
//   kind: it keeps ANSI bytes and answers 1 to the requests it does not know, the wide ones
//   among them. What an entry answers, and how it is kept, is entry_answers.h's.
// - It looks metadata up by the exact file name, in the form its kind of window keeps.
// - The playlist file name requests answer a pointer into one buffer of each request's own,
//   which the next such request overwrites; an index out of range answers 0.
// - play, pause, resume and stop post the player's notifications in its order; exit and
//   end_session end it as the player ends.
// - IPC_GET_PLAYING_TITLE answers the title the player shows, on either kind of window, so
//   that streams can be followed through both; playing_title_answer plays a player before 5.5.
// - IPC_GET_PLAYING_FILENAME, on a Unicode window, names the file that plays, which after a list
//   edit need not be the entry at the list position; for a URL with an extension hint it names
//   the player's local proxy for it. An ANSI window, an older player, answers 1.
// - An entry can be a stream (stream_station.h): time passes for it only through pass_time.
//
// Its parts: the window and its message record in player_window.cpp, the answers to requests in
// request_dispatch.cpp, playback and the ways the player ends in playback.cpp.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

#include "tools/player_standin/entry_answers.h"
#include "tools/player_standin/stream_station.h"

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::wstring text; // of WM_SETTEXT, as a Unicode window's procedure received it
};

enum class WindowKind { Ansi, Unicode };

// IPC_ISPLAYING's answer: playing and paused are bits.
constexpr LRESULT PLAYER_STOPPED = 0;
constexpr LRESULT PLAYER_PLAYING = 1;
constexpr LRESULT PLAYER_PAUSED = 3;

class PlayerStandin {
  public:
    explicit PlayerStandin(WindowKind kind = WindowKind::Unicode);
    ~PlayerStandin();
    PlayerStandin(const PlayerStandin&) = delete;
    PlayerStandin& operator=(const PlayerStandin&) = delete;

    HWND window() const { return window_; } // nullptr once it is destroyed
    WindowKind kind() const { return kind_; }

    // The window's procedure, read and replaced with the functions that match its kind.
    LONG_PTR window_proc() const;
    void set_window_proc(LONG_PTR procedure);

    // What the user does, announced as the player announces it: its notifications are posted
    // to the main window, so they are all handled after the whole change, in this order:
    // - start from stopped: title, title rating, title, status;
    // - change of song, playing or paused: title, status (the old song's stop), then as a start;
    // - pause: title, status, pause; resume: title, status, unpause; stop: title, status.
    // A seek announces nothing.
    void play(LRESULT index);
    void pause();
    void resume();
    void stop();

    // The list edited while it plays, as the player's playlist editor edits it. Removing an
    // entry at or before the list position moves the position back one place, but not below 0;
    // a removed entry that plays goes on playing. Inserting at or before the position moves the
    // position along with its entry. Neither announces anything.
    void remove_entry(LRESULT index);
    void insert_entry(LRESULT index, const PlaylistEntry& entry);

    // Seconds of playing go by: a playing stream moves on, and the player posts the title
    // notification for each change of what it shows and each decoder notice. Nothing else
    // changes with time: songs end when the caller plays the next.
    void pass_time(int seconds);
    // The title the player shows for the entry at the list position: "Artist - Title", the
    // title alone or the file's name, as its default format shows a file; for a stream whose
    // tags name nothing, what its input plugin shows.
    std::wstring playing_title() const;

    // The notification sent at once instead, for tests that check the tracker's rules one
    // notification at a time.
    void notify_status_changed();

    // What the player calls once when it ends: the plugins' quit.
    std::function<void()> quit_plugins;
    // A normal exit: the player destroys its main window, then calls quit. It never frees a
    // plugin's module.
    void exit();
    // The Windows session ends: inside its window procedure, on WM_ENDSESSION, the player stops
    // playback and calls quit while its window still exists.
    void end_session();

    // The scripted state.
    LRESULT play_status = PLAYER_PLAYING; // IPC_ISPLAYING
    LRESULT version = 0x5666;
    std::vector<PlaylistEntry> playlist;
    LRESULT list_pos = 0;
    std::string ini_path;
    // What a Unicode player keeps instead of ini_path, where not empty.
    std::wstring wide_ini_path;
    // Answered to IPC_GETINIFILE (and IPC_GETINIFILEW) instead of a pointer to the path, for
    // answers below 0x10000.
    std::optional<LRESULT> raw_ini_answer;
    // Answered to IPC_GET_PLAYING_TITLE instead of a pointer to the title: 1 for a player
    // before 5.5, which answers 1 to every request it does not know.
    std::optional<LRESULT> playing_title_answer;
    // A misbehaving player: metadata fills the whole buffer and writes no NUL.
    bool fill_metadata_without_nul = false;
    // Results for messages the stand-in does not otherwise answer.
    std::map<UINT, LRESULT> canned_results;

    // Every message that reached the stand-in's own window procedure, in order.
    std::vector<RecordedMessage> messages;

  private:
    // The texts that answers point to, in both forms.
    struct KeptText {
        std::wstring wide;
        std::string ansi;
    };
    // The window (player_window.cpp).
    static LRESULT CALLBACK ansi_window_proc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    static LRESULT CALLBACK unicode_window_proc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam);
    static PlayerStandin* receiver(HWND window, UINT message, LPARAM lParam);
    // Playback and the exit order (playback.cpp).
    void post_notification(WPARAM kind);
    const PlaylistEntry* playing_entry() const;
    const PlaylistEntry* playing_stream() const;
    void call_quit_once();
    // The answers (request_dispatch.cpp).
    LRESULT answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT answer_request(WPARAM wParam, LPARAM operation);
    std::optional<LRESULT> answer_unicode_request(WPARAM wParam, LPARAM operation);
    LRESULT answer_file_name(WPARAM index, bool wide);
    static LRESULT answer_text(const std::wstring& text, bool wide, KeptText& kept);
    LRESULT answer_playing_title();
    LRESULT answer_playing_file_name();
    std::vector<const PlaylistEntry*> named_entries() const;
    std::optional<std::wstring> stream_value(const PlaylistEntry& entry, const char* key) const;
    std::optional<std::wstring> wide_value(const std::wstring& file_name,
                                           const std::string& key) const;
    std::optional<std::string> ansi_value(const std::string& file_name, const char* key) const;

    WindowKind kind_;
    HWND window_ = nullptr;
    bool quit_called_ = false;
    StreamReception stream_;
    // The entry that plays although it was removed from the list; none once another starts.
    std::optional<PlaylistEntry> removed_playing_;
    KeptText ini_answer_;
    // Room for a long file name in either form; overwritten by every file name request.
    char file_name_buffer_[MAX_PATH * 4];
    wchar_t wide_file_name_buffer_[MAX_PATH * 4];
    // The player's own title buffer: at most 400 characters, where it stays while it runs.
    wchar_t playing_title_buffer_[401] = {};
    // Where it keeps the playing file's name.
    wchar_t playing_file_name_buffer_[MAX_PATH * 4] = {};
};
