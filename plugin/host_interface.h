#pragma once

// The player's side of the conversation, declared here from its documented behaviour: the
// requests the plugin sends to the player's main window, the notification it watches for, and
// the record through which the player loads the plugin.

#include <stddef.h>
#include <windows.h>

// Requests are WM_WA_IPC sent to the player's main window, the operation code in lParam.
constexpr UINT WM_WA_IPC = WM_USER;

constexpr LPARAM IPC_GETVERSION = 0;               // -> version number, 0x2090 for 2.90
constexpr LPARAM IPC_ISPLAYING = 104;              // -> 1 playing, 0 stopped, other: paused
constexpr LPARAM IPC_GETLISTPOS = 125;             // -> index of the current playlist entry
constexpr LPARAM IPC_GETPLAYLISTFILE = 211;        // wParam index -> const char* file name
constexpr LPARAM IPC_GET_EXTENDED_FILE_INFO = 290; // wParam extendedFileInfoStruct*
constexpr LPARAM IPC_GETINIFILE = 334;             // -> const char* path, below 0x10000: none

// The same names as the player keeps them, in UTF-16. Players that do not know a request
// answer 0 or 1, so, as for IPC_GETINIFILE, an answer below 0x10000 is no pointer.
constexpr LPARAM IPC_GETPLAYLISTFILEW = 214;         // wParam index -> const wchar_t* file name
constexpr LPARAM IPC_GET_EXTENDED_FILE_INFOW = 3026; // wParam extendedFileInfoStructW*
constexpr LPARAM IPC_GETINIFILEW = 1334;             // -> const wchar_t* path
// The title the player shows for the playing entry (at most 400 characters), kept by the player
// for its whole life; players before 5.5 answer 1.
constexpr LPARAM IPC_GET_PLAYING_TITLE = 3034; // -> const wchar_t* title
// The name of the file that plays, kept by the player for its whole life; players before 5.5
// answer 1. After a list edit it can differ from the entry at the list position, which the
// player moves back when the playing entry is removed and goes on playing it.
constexpr LPARAM IPC_GET_PLAYING_FILENAME = 3031; // -> const wchar_t* file name

// Sends one request to the player's main window and returns the player's answer.
inline LRESULT ask_player(HWND player, LPARAM operation, WPARAM argument = 0) {
    return SendMessageA(player, WM_WA_IPC, argument, operation);
}

// The text a request answers with, or nullptr for an answer below 0x10000, which is no pointer.
template <typename Char> const Char* player_text(LRESULT answer) {
    return static_cast<ULONG_PTR>(answer) < 0x10000 ? nullptr
                                                    : reinterpret_cast<const Char*>(answer);
}

// The player posts these to its own main window: lParam IPC_CB_MISC, the kind in wParam.
constexpr LPARAM IPC_CB_MISC = 603;
// Playback started, stopped, paused or resumed.
constexpr WPARAM IPC_CB_MISC_STATUS = 2;
// The title the player shows was updated: on every start, pause, resume and stop, on each
// change of a stream's title or status text (connecting, buffering), and whenever the decoder
// reports its bitrate (every few seconds on a variable-bitrate stream).
constexpr WPARAM IPC_CB_MISC_TITLE = 0;
// The same while the player is not playing.
constexpr WPARAM IPC_CB_MISC_TITLE_RATING = 6;
// Posted after the status notification of a pause and of a resume (players 5.65 and later).
constexpr WPARAM IPC_CB_MISC_PAUSE = 7;
constexpr WPARAM IPC_CB_MISC_UNPAUSE = 8;

// IPC_ISPLAYING answers.
constexpr LRESULT PLAY_STATUS_STOPPED = 0;
constexpr LRESULT PLAY_STATUS_PLAYING = 1;

// IPC_GET_EXTENDED_FILE_INFO: the player writes the value of `metadata` for the file into
// `ret`, NUL-terminated, at most `retlen` bytes.
struct extendedFileInfoStruct {
    const char* filename;
    const char* metadata;
    char* ret;
    size_t retlen;
};

// IPC_GET_EXTENDED_FILE_INFOW: the same in UTF-16; `retlen` counts wchar_t.
struct extendedFileInfoStructW {
    const wchar_t* filename;
    const wchar_t* metadata;
    wchar_t* ret;
    size_t retlen;
};

constexpr int GPPHDR_VER = 0x10;

// The record the player asks for at load time. It fills hwndParent and hDllInstance before it
// calls init, and every part of the plugin takes the main window and module handle from there.
struct winampGeneralPurposePlugin {
    int version;
    const char* description;
    int(__cdecl* init)();
    void(__cdecl* config)();
    void(__cdecl* quit)();
    HWND hwndParent;
    HINSTANCE hDllInstance;
};

// The player reads both structures by these exact 32-bit offsets.
#if !defined(_WIN64)
static_assert(offsetof(extendedFileInfoStruct, filename) == 0);
static_assert(offsetof(extendedFileInfoStruct, metadata) == 4);
static_assert(offsetof(extendedFileInfoStruct, ret) == 8);
static_assert(offsetof(extendedFileInfoStruct, retlen) == 12);
static_assert(sizeof(extendedFileInfoStruct) == 16);
static_assert(offsetof(extendedFileInfoStructW, filename) == 0);
static_assert(offsetof(extendedFileInfoStructW, metadata) == 4);
static_assert(offsetof(extendedFileInfoStructW, ret) == 8);
static_assert(offsetof(extendedFileInfoStructW, retlen) == 12);
static_assert(sizeof(extendedFileInfoStructW) == 16);

static_assert(offsetof(winampGeneralPurposePlugin, version) == 0);
static_assert(offsetof(winampGeneralPurposePlugin, description) == 4);
static_assert(offsetof(winampGeneralPurposePlugin, init) == 8);
static_assert(offsetof(winampGeneralPurposePlugin, config) == 12);
static_assert(offsetof(winampGeneralPurposePlugin, quit) == 16);
static_assert(offsetof(winampGeneralPurposePlugin, hwndParent) == 20);
static_assert(offsetof(winampGeneralPurposePlugin, hDllInstance) == 24);
static_assert(sizeof(winampGeneralPurposePlugin) == 28);
#endif
