#pragma once

// A stand-in for the player: a hidden top-level window that plays the player's main window.
// It answers the requests the plugin sends from a state the caller scripts, can announce a
// change of playback status to itself, and records every message that reaches its own window
// procedure, so a test can see exactly what the plugin passed on. Its window is made with the
// ANSI API, as older players make theirs, or with the wide (Unicode) API, as today's do.

#include <map>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

struct PlaylistEntry {
    // Raw bytes in the ANSI code page, as a player hands them out.
    std::string file_name;
    std::string title;
    std::string artist;
    std::string album;
    std::string genre;
};

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::wstring text; // of WM_SETTEXT, as a Unicode window's procedure received it
};

enum class WindowKind { Ansi, Unicode };

class PlayerStandin {
  public:
    explicit PlayerStandin(WindowKind kind = WindowKind::Ansi);
    ~PlayerStandin();
    PlayerStandin(const PlayerStandin&) = delete;
    PlayerStandin& operator=(const PlayerStandin&) = delete;

    HWND window() const { return window_; }
    WindowKind kind() const { return kind_; }

    // The window's procedure, read and replaced with the functions that match its kind.
    LONG_PTR window_proc() const;
    void set_window_proc(LONG_PTR procedure);

    // Sends the playback-status notification to the window, as the player does.
    void notify_status_changed();

    // The scripted state.
    LRESULT play_status = 1; // IPC_ISPLAYING: 1 playing, 0 stopped, 3 paused
    LRESULT version = 0x5666;
    std::vector<PlaylistEntry> playlist;
    LRESULT list_pos = 0;
    std::string ini_path;
    // Answered to IPC_GETINIFILE instead of a pointer to ini_path, for answers below 0x10000.
    std::optional<LRESULT> raw_ini_answer;
    // A misbehaving player: metadata fills the whole buffer and writes no NUL.
    bool fill_metadata_without_nul = false;
    // Results for messages the stand-in does not otherwise answer.
    std::map<UINT, LRESULT> canned_results;

    // Every message that reached the stand-in's own window procedure, in order.
    std::vector<RecordedMessage> messages;

  private:
    static LRESULT CALLBACK ansi_window_proc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    static LRESULT CALLBACK unicode_window_proc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam);
    static PlayerStandin* receiver(HWND window, UINT message, LPARAM lParam);
    LRESULT answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT answer_request(WPARAM wParam, LPARAM operation);
    LRESULT fill_metadata(const struct extendedFileInfoStruct& request) const;

    WindowKind kind_;
    HWND window_ = nullptr;
};
