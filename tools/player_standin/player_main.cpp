// The player stand-in as a program: loads a general-purpose plugin the way the player does,
// plays a playlist file with the player's status notifications and the real message loop, and
// unloads the plugin at the end.
//
//   player_standin PLUGIN.dll [PLAYLIST] [--ini FILE] [--config] [--unicode]
//
// --ini names the settings file the player hands out (default: winamp.ini in the Windows
// folder); --config opens the plugin's settings dialog before playing, as the player's
// preferences do; --unicode makes the main window with the wide API, as today's players do.

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

// The player's own message loop, for a while: the plugin's timer ticks arrive through it.
void run_for(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (DWORD passed = 0; passed < milliseconds; passed = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
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
            player.list_pos = player.playlist.size() - 1;
            player.play_status = 1;
            say("playing: " + step.title + " / " + step.artist + " (" + file + ", " +
                std::to_string(step.seconds) + " s)");
            // Around a change of song the player announces the status twice.
            player.notify_status_changed();
            player.notify_status_changed();
            break;
        }
        case PlaylistStep::Pause:
            player.play_status = 3;
            say("paused (" + std::to_string(step.seconds) + " s)");
            player.notify_status_changed();
            run_for(step.seconds * 1000);
            player.play_status = 1;
            say("resumed");
            player.notify_status_changed();
            continue;
        case PlaylistStep::Play:
            break;
        case PlaylistStep::Stop:
            player.play_status = 0;
            say("stopped (" + std::to_string(step.seconds) + " s)");
            player.notify_status_changed();
            break;
        }
        run_for(step.seconds * 1000);
    }
    player.play_status = 0;
    player.notify_status_changed();
}

} // namespace

int main(int argc, char** argv) {
    started_at = GetTickCount();
    const char* plugin_path = nullptr;
    const char* playlist_path = nullptr;
    const char* ini_path = nullptr;
    bool open_config = false;
    WindowKind kind = WindowKind::Ansi;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--ini") == 0 && i + 1 < argc) {
            ini_path = argv[++i];
        } else if (strcmp(argv[i], "--config") == 0) {
            open_config = true;
        } else if (strcmp(argv[i], "--unicode") == 0) {
            kind = WindowKind::Unicode;
        } else if (plugin_path == nullptr) {
            plugin_path = argv[i];
        } else if (playlist_path == nullptr) {
            playlist_path = argv[i];
        } else {
            plugin_path = nullptr;
            break;
        }
    }
    if (plugin_path == nullptr) {
        print_utf8("usage: player_standin PLUGIN.dll [PLAYLIST] [--ini FILE] [--config] "
                   "[--unicode]\n");
        return 2;
    }
    PlayerStandin player(kind);
    if (ini_path != nullptr) {
        player.ini_path = ini_path;
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
    plugin->init();
    if (open_config) {
        say("settings dialog open");
        plugin->config();
    }
    play(player, steps);
    plugin->quit();
    FreeLibrary(module);
    say("plugin unloaded");
    return 0;
}
