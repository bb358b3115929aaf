#pragma once

// A stand-in for the player: a hidden top-level window that plays the player's main window.
// It answers the requests the plugin sends from a state the caller scripts, can announce a
// change of playback status to itself, and records every message that reaches its own window
// procedure, so a test can see exactly what the plugin passed on. Its window is made with the
// ANSI API, as older players make theirs, or with the wide (Unicode) API, as today's do.
//
// The two kinds also keep their names as those players do. The ANSI one is an older player: it
// keeps ANSI bytes and answers 1 to the requests it does not know, the wide ones among them. The
// Unicode one keeps its file names and metadata in UTF-16, looks metadata up by the exact name,
// answers the wide requests, and answers the ANSI ones by converting with
// WideCharToMultiByte(CP_ACP, 0, ...): a name outside the code page comes out changed, and a
// changed name, converted back for the lookup, finds nothing.

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
    // What a Unicode player keeps instead, where the ANSI code page cannot hold it; where
    // empty, it keeps the ANSI text above, converted.
    std::wstring wide_file_name;
    std::wstring wide_title;
    std::wstring wide_artist;
    std::wstring wide_album;
    std::wstring wide_genre;
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
    // What a Unicode player keeps instead of ini_path, where not empty.
    std::wstring wide_ini_path;
    // Answered to IPC_GETINIFILE (and IPC_GETINIFILEW) instead of a pointer to the path, for
    // answers below 0x10000.
    std::optional<LRESULT> raw_ini_answer;
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
    static LRESULT CALLBACK ansi_window_proc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    static LRESULT CALLBACK unicode_window_proc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam);
    static PlayerStandin* receiver(HWND window, UINT message, LPARAM lParam);
    LRESULT answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT answer_request(WPARAM wParam, LPARAM operation);
    std::optional<LRESULT> answer_unicode_request(WPARAM wParam, LPARAM operation);
    LRESULT fill_metadata(const struct extendedFileInfoStruct& request) const;
    LRESULT fill_metadata(const struct extendedFileInfoStructW& request) const;
    static LRESULT answer_text(const std::wstring& text, bool wide, KeptText& kept);
    std::optional<std::wstring> wide_value(const std::wstring& file_name,
                                           const std::wstring& key) const;

    WindowKind kind_;
    HWND window_ = nullptr;
    KeptText file_answer_;
    KeptText ini_answer_;
};
