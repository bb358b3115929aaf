// The player stand-in as a program: loads a general-purpose plugin the way the player does,
// plays a playlist file of songs and internet radio stations, announcing every change as the
// player does, with the real message loop, and exits as the player exits.
//
//   player_standin PLUGIN.dll [PLAYLIST] [--ini FILE] [--config] [--ansi]
//
// --ini names the settings file the player hands out, relative to the current folder (default:
// winamp.ini in the Windows folder); --config opens the plugin's settings dialog before
// playing, as the player's preferences do; --ansi makes the main window an ANSI one, as older
// players' was (the default, --unicode, is the Unicode window of today's players). It exits 0
// once the list has played, 1 when it cannot play at all, 2 when the command line is wrong.

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include <windows.h>

#include "plugin/host_interface.h"
#include "tools/common/console_text.h"
#include "tools/player_standin/player_standin.h"
#include "tools/player_standin/playlist_file.h"

namespace {

DWORD started_at = 0;

void say(const std::string& utf8) {
    char clock[32];
    snprintf(clock, sizeof clock, "[%5.1f s] ", (GetTickCount() - started_at) / 1000.0);
    print_utf8(clock + utf8 + "\n");
}

// The player's own message loop, for a while: the plugin's timer ticks and the posted status
// notifications arrive through it. Whatever is waiting is handled even for 0 milliseconds.
void run_for(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const DWORD passed = GetTickCount() - start;
        if (passed >= milliseconds) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
    }
}

// Seconds of the player's life: its message loop runs, and a playing stream moves on, the
// changes of the title the player shows printed as they happen.
void play_for(PlayerStandin& player, int seconds) {
    for (int i = 0; i < seconds; ++i) {
        run_for(1000);
        const std::wstring before = player.playing_title();
        player.pass_time(1);
        const std::wstring now = player.playing_title();
        if (now != before) {
            say("player shows: " + utf16_to_utf8(now));
        }
    }
}

// A Unicode player keeps every text in UTF-16, an older one in code page 932.
PlaylistEntry entry_of(const PlaylistStep& step, const std::string& file, WindowKind kind) {
    PlaylistEntry entry{utf8_to_cp932(file), utf8_to_cp932(step.title), utf8_to_cp932(step.artist),
                        utf8_to_cp932(step.album), utf8_to_cp932(step.genre)};
    if (kind == WindowKind::Unicode) {
        entry.wide_file_name = utf8_to_utf16(file);
        entry.wide_title = utf8_to_utf16(step.title);
        entry.wide_artist = utf8_to_utf16(step.artist);
        entry.wide_album = utf8_to_utf16(step.album);
        entry.wide_genre = utf8_to_utf16(step.genre);
    }
    // The input plugin that claims .ape files (Monkey's Audio) knows only the lower-case keys.
    const size_t dot = file.rfind('.');
    entry.lowercase_keys_only =
        dot != std::string::npos && lstrcmpiA(file.c_str() + dot, ".ape") == 0;
    return entry;
}

// A station keeps what it sends in UTF-16 on either kind of player: the ANSI requests get it
// converted, as the real player converts what the station sent. A podcast's fields are its tag.
PlaylistEntry stream_of(const PlaylistStep& step, WindowKind kind) {
    PlaylistEntry entry = entry_of(step, step.file, kind);
    StreamStation station{utf8_to_utf16(step.station), utf8_to_utf16(step.genre), {}};
    station.kind = step.stream_kind;
    for (const StreamLine& title : step.stream_titles) {
        station.titles.push_back({utf8_to_utf16(title.text), title.seconds});
    }
    // A station's genre is the station's own; only a podcast episode has a tag.
    if (station.kind != StreamKind::Podcast) {
        entry.genre.clear();
        entry.wide_genre.clear();
    }
    entry.stream = station;
    return entry;
}

void play(PlayerStandin& player, const std::vector<PlaylistStep>& steps) {
    for (const PlaylistStep& step : steps) {
        switch (step.kind) {
        case PlaylistStep::Song: {
            const std::string file =
                step.file.empty() ? "C:\\Music\\" + std::to_string(player.playlist.size()) + ".mp3"
                                  : step.file;
            player.playlist.push_back(entry_of(step, file, player.kind()));
            say("playing: " + step.title + " / " + step.artist + " (" + file + ", " +
                std::to_string(step.seconds) + " s)");
            player.play(player.playlist.size() - 1);
            break;
        }
        case PlaylistStep::Stream:
            player.playlist.push_back(stream_of(step, player.kind()));
            say((step.stream_kind == StreamKind::Podcast
                     ? "playing podcast: " + step.title + " / " + step.artist
                     : "playing station: " + step.station) +
                " (" + step.file + ", " + std::to_string(step.seconds) + " s, connecting)");
            player.play(player.playlist.size() - 1);
            break;
        case PlaylistStep::Pause:
            say("paused (" + std::to_string(step.seconds) + " s)");
            player.pause();
            play_for(player, step.seconds);
            say("resumed");
            player.resume();
            continue;
        case PlaylistStep::Play:
            break;
        case PlaylistStep::Stop:
            say("stopped (" + std::to_string(step.seconds) + " s)");
            player.stop();
            break;
        }
        play_for(player, step.seconds);
    }
    if (player.play_status != PLAYER_STOPPED) {
        player.stop();
        run_for(0);
    }
}

constexpr char USAGE[] =
    "usage: player_standin PLUGIN.dll [PLAYLIST] [--ini FILE] [--config] [--ansi]\n";

// The player hands the plugin a full path; a relative one would name a file in the Windows
// folder, not the one the user meant. A file that does not exist yet is fine: the plugin writes
// it at the end, into a folder that must exist.
bool full_ini_path(const char* given, std::string& full) {
    char path[MAX_PATH];
    char* name = nullptr;
    const DWORD length = GetFullPathNameA(given, MAX_PATH, path, &name);
    if (length == 0 || length >= MAX_PATH || name == nullptr) {
        return false;
    }
    const DWORD attributes = GetFileAttributesA(path);
    const DWORD folder = GetFileAttributesA(std::string(path, name - path).c_str());
    if ((attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) ||
        folder == INVALID_FILE_ATTRIBUTES || (folder & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    full = path;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    started_at = GetTickCount();
    const char* plugin_path = nullptr;
    const char* playlist_path = nullptr;
    const char* ini_path = nullptr;
    bool open_config = false;
    bool usage_wrong = false;
    WindowKind kind = WindowKind::Unicode;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0 ||
            strcmp(argv[i], "/?") == 0) {
            print_utf8(USAGE);
            return 0;
        } else if (strcmp(argv[i], "--ini") == 0) {
            if (i + 1 == argc) {
                usage_wrong = true;
                break;
            }
            ini_path = argv[++i];
        } else if (strcmp(argv[i], "--config") == 0) {
            open_config = true;
        } else if (strcmp(argv[i], "--ansi") == 0) {
            kind = WindowKind::Ansi;
        } else if (strcmp(argv[i], "--unicode") == 0) {
            kind = WindowKind::Unicode;
        } else if (strncmp(argv[i], "--", 2) == 0 || playlist_path != nullptr) {
            usage_wrong = true;
            break;
        } else if (plugin_path == nullptr) {
            plugin_path = argv[i];
        } else {
            playlist_path = argv[i];
        }
    }
    if (usage_wrong || plugin_path == nullptr) {
        print_utf8(USAGE);
        return 2;
    }
    std::string ini;
    if (ini_path != nullptr && !full_ini_path(ini_path, ini)) {
        print_utf8(std::string("cannot use ") + ini_path +
                   " as the ini file: it must name a file in a folder that exists\n");
        return 2;
    }
    PlayerStandin player(kind);
    if (player.window() == nullptr) {
        // Without its window the plugin would neither report nor read its settings.
        print_utf8("cannot create the player's window: under Wine, give the prefix a graphics "
                   "driver (wine reg add HKCU\\Software\\Wine\\Drivers /v Graphics /d null /f)\n");
        return 1;
    }
    // The player starts with nothing playing, so the first song is announced once.
    player.play_status = PLAYER_STOPPED;
    if (ini_path != nullptr) {
        player.ini_path = ini;
    } else {
        player.raw_ini_answer = 0; // no file of its own: the plugin falls back to winamp.ini
    }
    std::vector<PlaylistStep> steps;
    std::string error;
    if (playlist_path != nullptr && !read_playlist(playlist_path, steps, error)) {
        print_utf8(error + "\n");
        return 1;
    }

    HMODULE module = LoadLibraryA(plugin_path);
    auto get_plugin = reinterpret_cast<winampGeneralPurposePlugin*(__cdecl*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "winampGetGeneralPurposePlugin")));
    if (get_plugin == nullptr) {
        print_utf8(std::string("cannot load ") + plugin_path + " as a plugin\n");
        return 1;
    }
    winampGeneralPurposePlugin* plugin = get_plugin();
    say(std::string("loaded: ") + plugin->description +
        " (player window: " + (kind == WindowKind::Unicode ? "Unicode" : "ANSI") + ")");
    plugin->hwndParent = player.window();
    plugin->hDllInstance = module;
    player.quit_plugins = plugin->quit;
    plugin->init();
    if (open_config) {
        say("settings dialog open");
        plugin->config();
    }
    play(player, steps);
    // As the player exits: its window goes first, then the plugin's quit; the module stays.
    player.exit();
    say("player window closed and plugin quit");
    return 0;
}
