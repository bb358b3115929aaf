#include "tests/plugin_module_fixture.h"

#include "tests/dialog_driver.h"
#include "tests/station_registry.h"
#include "tests/temp_files.h"

void PluginModuleTest::SetUp() {
    delete_station_key();
    player.ini_path = temp_file_path("vorn_module_test.ini");
    DeleteFileA(player.ini_path.c_str());
    player.playlist = {{"C:\\music\\a.mp3", "first", "artist", "album", "genre"},
                       {"C:\\music\\b.mp3", "second", "artist", "album", "genre"}};
    player_proc = player.window_proc();
    module = LoadLibraryA(program_folder_path("gen_vorn.dll").c_str());
    ASSERT_NE(module, nullptr);
    get_plugin = reinterpret_cast<GetPlugin>(
        reinterpret_cast<void*>(GetProcAddress(module, "winampGetGeneralPurposePlugin")));
    ASSERT_NE(get_plugin, nullptr);
    record = get_plugin();
}

void PluginModuleTest::TearDown() {
    if (initialised) {
        record->quit();
    }
    player.set_window_proc(player_proc);
    if (module != nullptr) {
        FreeLibrary(module);
    }
    DeleteFileA(player.ini_path.c_str());
    delete_station_key();
}

std::vector<CapturedBox> PluginModuleTest::init(const std::function<void()>& while_box_up) {
    record->hwndParent = player.window();
    record->hDllInstance = module;
    int result = -1;
    std::vector<CapturedBox> boxes =
        capture_message_boxes([&] { result = record->init(); }, while_box_up);
    initialised = true;
    EXPECT_EQ(result, 0);
    return boxes;
}

void PluginModuleTest::quit() {
    record->quit();
    initialised = false;
}

void PluginModuleTest::click_in_settings(int control) {
    run_config_dialog(
        [&](HWND dialog) {
            click(dialog, control);
            click(dialog, IDOK);
        },
        record->config);
}

void PluginModuleTest::play_for(int seconds) {
    for (int i = 0; i < seconds; ++i) {
        pump_messages(1);
        SendMessageA(player.window(), WM_TIMER, 4441, 0);
        player.pass_time(1);
    }
}

int PluginModuleTest::count(UINT message, WPARAM wParam, LPARAM lParam) const {
    int n = 0;
    for (const RecordedMessage& m : player.messages) {
        n += m.message == message && m.wParam == wParam && m.lParam == lParam;
    }
    return n;
}

int PluginModuleTest::ini_value(const char* key) const {
    return GetPrivateProfileIntA("vorn station song Plugin for winamp", key, -1,
                                 player.ini_path.c_str());
}

std::string window_kind_name(const ::testing::TestParamInfo<WindowKind>& info) {
    return info.param == WindowKind::Unicode ? "UnicodeWindow" : "AnsiWindow";
}
