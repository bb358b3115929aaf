// gen_vorn.dll as the player uses it: loaded by name, reached only through its export, with
// the player stand-in as the host.

#include "resources/dialog_ids.h"
#include "tests/dialog_driver.h"
#include "tests/plugin_module_fixture.h"
#include "launcher/station_launcher.h"
#include "tests/station_registry.h"
#include "tests/temp_files.h"
#include "tools/companion_standin/station_mailslot.h"

namespace {

TEST_F(PluginModuleTest, ExportHandsOutTheOneRecord) {
    EXPECT_EQ(get_plugin(), record);
    EXPECT_EQ(record->version, 0x10);
    EXPECT_STREQ(record->description, "vorn station song Plugin for winamp v1.21");
    EXPECT_NE(record->init, nullptr);
    EXPECT_NE(record->config, nullptr);
    EXPECT_NE(record->quit, nullptr);
    EXPECT_EQ(record->hwndParent, nullptr);
    EXPECT_EQ(record->hDllInstance, nullptr);
}

TEST_F(PluginModuleTest, OldPlayerIsWarnedOnceBeforeTrackingStarts) {
    struct Case {
        LRESULT version;
        bool warned;
    };
    for (const Case c :
         {Case{0x2089, true}, Case{-1, true}, Case{0x2090, false}, Case{0x5666, false}}) {
        SCOPED_TRACE(c.version);
        if (initialised) {
            quit();
        }
        player.version = c.version;
        player.messages.clear();
        bool hooked_while_up = true;
        const std::vector<CapturedBox> boxes = init([&] {
            player.notify_status_changed();
            hooked_while_up = player.window_proc() != player_proc;
        });
        ASSERT_EQ(boxes.size(), c.warned ? 1u : 0u);
        if (c.warned) {
            EXPECT_EQ(boxes[0].caption, L"vorn station pluginエラー");
            EXPECT_EQ(boxes[0].text, L"vorn stationプラグインの動作にはWinamp v2.9以上が必要です");
            EXPECT_EQ(boxes[0].owner, nullptr);
            EXPECT_FALSE(hooked_while_up);
            EXPECT_EQ(fetches(), 0);
        }
        // The plugin works as usual afterwards: of two notifications, the gate lets one fetch.
        const int before = fetches();
        player.notify_status_changed();
        player.notify_status_changed();
        EXPECT_EQ(fetches(), before + 1);
    }
}

TEST_F(PluginModuleTest, StationStartsTheRegisteredProgramOnlyWhenOn) {
    // Off: the registry is not even looked at.
    write_file(player.ini_path, "[vorn station song Plugin for winamp]\r\nStation=0\r\n");
    EXPECT_TRUE(init().empty());
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\vorn", 0, KEY_READ, &key), 0);
    quit();

    // On: started once, also for a standard user, who may only read the key.
    const std::string program = temp_copy_of_program("station_marker.exe");
    const std::string marker = program + ".ran";
    DeleteFileA(marker.c_str());
    store_station_path(REG_SZ, program + '\0');
    ReadOnlyStationKey read_only;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, STATION_REGISTRY_KEY, 0, KEY_ALL_ACCESS, &key),
              ERROR_ACCESS_DENIED);
    write_file(player.ini_path, "[vorn station song Plugin for winamp]\r\nStation=1\r\n");
    EXPECT_TRUE(init().empty());
    EXPECT_EQ(read_file_once_written(marker), "started\n");
    DeleteFileA(marker.c_str());
}

TEST_P(PluginOnEitherWindow, RealTimerReportsAndQuitEndsEverything) {
    StationMailslot mailslot;
    ASSERT_TRUE(mailslot.is_open());
    write_file(player.ini_path, "[vorn station song Plugin for winamp]\r\nWait=10\r\n");
    init();
    player.notify_status_changed();

    std::vector<std::string> reports;
    for (int waited = 0; waited < 15000 && reports.empty(); waited += 100) {
        pump_messages(100);
        reports = mailslot.take_all();
    }
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("<param key=\"song_title\">first</param>"), std::string::npos);
    EXPECT_GE(count(WM_TIMER, 4441, 0), 11); // every tick reached the player's procedure too

    player.list_pos = 1; // a new song is pending when the player shuts down
    player.notify_status_changed();
    player.notify_status_changed();
    quit();
    for (const char* key : {"Station", "Repeat", "Enable"}) {
        EXPECT_EQ(ini_value(key), std::string(key) == "Enable") << key; // saved unchanged
    }
    EXPECT_EQ(ini_value("Wait"), 10);
    EXPECT_EQ(player.window_proc(), player_proc);

    player.messages.clear();
    pump_messages(1500);
    EXPECT_EQ(count(WM_TIMER, 4441, 0), 0);
    EXPECT_TRUE(mailslot.take_all().empty());

    // Unloaded, the player's window goes on as it does without the plugin.
    FreeLibrary(module);
    module = nullptr;
    SendMessageA(player.window(), WM_TIMER, 4441, 0);
    player.notify_status_changed();
    EXPECT_EQ(player.messages.size(), 2u);
}

// The player exits as it does: its window is destroyed first, then quit saves.
TEST_F(PluginModuleTest, ConfigOpensTheDialogWhoseChangesQuitSaves) {
    init();
    const DialogRun run = run_config_dialog(
        [&](HWND dialog) {
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), player.window());
            click(dialog, REPEAT_CHECK_ID);
            type_text(dialog, WAIT_EDIT_ID, L"45");
            click(dialog, IDOK);
        },
        record->config);
    EXPECT_EQ(run.opened, 1);
    const HWND window = player.window();
    bool window_at_quit = true;
    player.quit_plugins = [&] {
        window_at_quit = IsWindow(window);
        quit();
    };
    player.exit();
    EXPECT_FALSE(window_at_quit);
    EXPECT_EQ(ini_value("Repeat"), 1);
    EXPECT_EQ(ini_value("Wait"), 45);
}

// A procedure put in after the plugin's, passing everything on to it the way the window was
// made.
WNDPROC plugin_proc = nullptr;
WindowKind later_kind = WindowKind::Ansi;
LRESULT CALLBACK later_subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return later_kind == WindowKind::Unicode
               ? CallWindowProcW(plugin_proc, window, message, wParam, lParam)
               : CallWindowProcA(plugin_proc, window, message, wParam, lParam);
}

TEST_P(PluginOnEitherWindow, QuitLeavesAChainThatOthersExtendedAlone) {
    init();
    later_kind = player.kind();
    plugin_proc = reinterpret_cast<WNDPROC>(player.window_proc());
    player.set_window_proc(reinterpret_cast<LONG_PTR>(later_subclass));
    quit();
    EXPECT_EQ(player.window_proc(), reinterpret_cast<LONG_PTR>(later_subclass));
    EXPECT_EQ(IsWindowUnicode(player.window()) != FALSE, player.kind() == WindowKind::Unicode);
    player.notify_status_changed(); // through both procedures to the player's own
    EXPECT_EQ(count(WM_WA_IPC, IPC_CB_MISC_STATUS, IPC_CB_MISC), 1);
    if (player.kind() == WindowKind::Unicode) {
        SendMessageW(player.window(), WM_CHAR, 0xD55C, 0); // a Hangul syllable
        EXPECT_EQ(player.messages.back().wParam, 0xD55Cu);
    }
}

TEST_F(PluginModuleTest, ASecondInitLeavesOneHook) {
    init();
    init();
    player.notify_status_changed();
    EXPECT_EQ(count(WM_WA_IPC, IPC_CB_MISC_STATUS, IPC_CB_MISC), 1);
    quit();
    EXPECT_EQ(player.window_proc(), player_proc);
}

INSTANTIATE_TEST_SUITE_P(, PluginOnEitherWindow,
                         testing::Values(WindowKind::Ansi, WindowKind::Unicode), window_kind_name);

// Today's players make their main window with the wide API. Text sent to it must reach the
// player as it was sent, characters outside code page 932 included, whether the plugin runs,
// has quit, or is unloaded.
class UnicodePlayerTest : public PluginModuleTest {
  protected:
    UnicodePlayerTest() : PluginModuleTest(WindowKind::Unicode) {}

    void expect_text_passes_unchanged() {
        struct Case {
            const char* name;
            UINT message;
            WPARAM wParam;
            std::wstring text; // WM_SETTEXT's
        };
        const Case cases[] = {
            {"Hangul title", WM_SETTEXT, 0, L"\uD55C\uAD6D\uC5B4 \uB178\uB798"},
            {"surrogate pair", WM_SETTEXT, 0, L"\U0001F3B5 \U00020B9F"},
            {"accented Latin", WM_SETTEXT, 0, L"Caf\u00E9 Se\u00F1or \u00C6r\u00F8"},
            {"Japanese and Chinese", WM_SETTEXT, 0, L"\u65E5\u672C\u8A9E \u4F60\u597D"},
            {"Hangul typed", WM_CHAR, 0xD55C, {}},
            {"accent typed", WM_CHAR, 0xE9, {}},
            {"IME character", WM_IME_CHAR, 0xAC00, {}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            player.messages.clear();
            const LPARAM lParam =
                c.message == WM_SETTEXT ? reinterpret_cast<LPARAM>(c.text.c_str()) : 0;
            SendMessageW(player.window(), c.message, c.wParam, lParam);
            ASSERT_EQ(player.messages.size(), 1u);
            EXPECT_EQ(player.messages[0].message, c.message);
            EXPECT_EQ(player.messages[0].wParam, c.wParam);
            EXPECT_EQ(player.messages[0].text, c.text);
            if (c.message == WM_SETTEXT) {
                // Read back through the same chain, as the player's title bar would be.
                wchar_t title[64] = {};
                GetWindowTextW(player.window(), title, 64);
                EXPECT_EQ(std::wstring(title), c.text);
            }
        }
        EXPECT_TRUE(IsWindowUnicode(player.window()));
    }
};

TEST_F(UnicodePlayerTest, TextReachesThePlayerUnchangedWhileLoadedAndAfter) {
    init();
    EXPECT_NE(player.window_proc(), player_proc); // the hook is in
    {
        SCOPED_TRACE("plugin running");
        expect_text_passes_unchanged();
    }
    quit();
    EXPECT_EQ(player.window_proc(), player_proc);
    {
        SCOPED_TRACE("after quit");
        expect_text_passes_unchanged();
    }
    FreeLibrary(module);
    module = nullptr;
    SCOPED_TRACE("after FreeLibrary");
    expect_text_passes_unchanged();
}

} // namespace
