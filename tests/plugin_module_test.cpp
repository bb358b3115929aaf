// gen_vorn.dll as the player uses it: loaded by name, reached only through its export, with
// the player stand-in as the host.

#include "resources/dialog_ids.h"
#include "tests/dialog_driver.h"
#include "tests/plugin_module_fixture.h"
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
            hooked_while_up = GetWindowLongPtrA(player.window(), GWLP_WNDPROC) != player_proc;
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

    const std::string program = program_folder_path("station_marker.exe");
    const std::string marker = program + ".ran";
    DeleteFileA(marker.c_str());
    store_station_path(REG_SZ, program + '\0');
    write_file(player.ini_path, "[vorn station song Plugin for winamp]\r\nStation=1\r\n");
    EXPECT_TRUE(init().empty());
    EXPECT_EQ(read_file_once_written(marker), "started\n");
    DeleteFileA(marker.c_str());
}

TEST_F(PluginModuleTest, RealTimerReportsAndQuitEndsEverything) {
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
    EXPECT_EQ(GetWindowLongPtrA(player.window(), GWLP_WNDPROC), player_proc);

    player.messages.clear();
    pump_messages(1500);
    EXPECT_EQ(count(WM_TIMER, 4441, 0), 0);
    EXPECT_TRUE(mailslot.take_all().empty());

    // Unloaded, the player's window goes on as before.
    FreeLibrary(module);
    module = nullptr;
    SendMessageA(player.window(), WM_TIMER, 4441, 0);
    player.notify_status_changed();
    EXPECT_EQ(player.messages.size(), 2u);
}

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
    quit();
    EXPECT_EQ(ini_value("Repeat"), 1);
    EXPECT_EQ(ini_value("Wait"), 45);
}

// A procedure put in after the plugin's, passing everything on to it.
WNDPROC plugin_proc = nullptr;
LRESULT CALLBACK later_subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(plugin_proc, window, message, wParam, lParam);
}

TEST_F(PluginModuleTest, QuitLeavesAChainThatOthersExtendedAlone) {
    init();
    plugin_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        player.window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(later_subclass)));
    quit();
    EXPECT_EQ(GetWindowLongPtrA(player.window(), GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(later_subclass));
    player.notify_status_changed(); // through both procedures to the player's own
    EXPECT_EQ(count(WM_WA_IPC, IPC_CB_MISC_STATUS, IPC_CB_MISC), 1);
}

} // namespace
