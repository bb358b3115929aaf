// The settings in the player's ini file: defaults, the range of Wait, and a save that leaves
// the rest of the player's shared file as it was.

#include <gtest/gtest.h>
#include <windows.h>

#include "common/plugin_settings.h"
#include "plugin/host_interface.h"
#include "plugin/plugin_record.h"
#include "settings/settings_store.h"
#include "tests/temp_files.h"
#include "tools/player_standin/player_standin.h"

#define SECTION "[vorn station song Plugin for winamp]\r\n"

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plugin_record.hwndParent = player.window();
        player.ini_path = temp_file_path("vorn_test_winamp.ini");
    }
    void TearDown() override { DeleteFileA(player.ini_path.c_str()); }

    void load(const char* contents) { // no file at all for nullptr
        DeleteFileA(player.ini_path.c_str());
        if (contents != nullptr) {
            write_file(player.ini_path, contents);
        }
        plugin_settings = PluginSettings();
        load_settings();
    }

    PlayerStandin player;
};

TEST_F(SettingsTest, LoadsEachKeyWithItsDefaultAndRange) {
    struct Case {
        const char* contents;
        bool enable;
        int wait;
        bool repeat;
        bool station;
    };
    const Case cases[] = {
        {nullptr, true, 30, false, false},
        {"", true, 30, false, false},
        {"[Winamp]\r\nWait=45\r\n", true, 30, false, false},
        {SECTION "Station=1\r\nWait=45\r\nRepeat=1\r\nEnable=0\r\n", false, 45, true, true},
        {SECTION "Enable=5\r\nRepeat=-1\r\nWait=9\r\n", true, 30, true, false},
        {SECTION "Wait=10\r\n", true, 10, false, false},
        {SECTION "Wait=604800\r\n", true, 604800, false, false},
        {SECTION "Wait=604801\r\n", true, 30, false, false},
        {SECTION "Wait=-45\r\n", true, 30, false, false},
        // Text reads as the profile functions make of it: leading digits, or 0.
        {SECTION "Wait=45s\r\nEnable=yes\r\n", false, 45, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.contents == nullptr ? "no file" : c.contents);
        load(c.contents);
        EXPECT_EQ(plugin_settings.Enable, c.enable);
        EXPECT_EQ(plugin_settings.Wait, c.wait);
        EXPECT_EQ(plugin_settings.Repeat, c.repeat);
        EXPECT_EQ(plugin_settings.Station, c.station);
    }
}

// Wine rewrites the whole file on each write and drops blank lines, which Windows keeps; the
// files here are in the form both leave as they are.
TEST_F(SettingsTest, SaveChangesOnlyThePluginsKeys) {
    const char* const cases[][2] = {
        // absent keys are added in order
        {"; the player's\r\n[Winamp]\r\nskin=\x95\x5c\x8e\xa6\r\n[in_mp3]\r\nbuffer=64\r\n",
         "; the player's\r\n[Winamp]\r\nskin=\x95\x5c\x8e\xa6\r\n[in_mp3]\r\nbuffer=64\r\n" SECTION
         "Station=0\r\nWait=30\r\nRepeat=0\r\nEnable=1\r\n"},
        // present keys keep their place
        {"[Winamp]\r\nvolume=200\r\n" SECTION "Enable=5\r\nWait=9\r\n[gen_x]\r\nWait=7\r\n",
         "[Winamp]\r\nvolume=200\r\n" SECTION
         "Enable=1\r\nWait=30\r\nStation=0\r\nRepeat=0\r\n[gen_x]\r\nWait=7\r\n"},
    };
    for (const auto& c : cases) {
        load(c[0]);
        save_settings();
        EXPECT_EQ(read_file(player.ini_path), c[1]);
    }
}

// A profile folder under a user name such as "𠮷田": the player's path in UTF-16 goes to the
// wide profile functions; a path the code page holds is still asked for and used in it.
TEST_F(SettingsTest, PathOutsideTheCodePageIsReadAndWrittenWide) {
    PlayerStandin unicode(WindowKind::Unicode);
    plugin_record.hwndParent = unicode.window();
    struct Case {
        std::wstring name;
        bool wide;
    };
    const Case cases[] = {
        {L"vorn \U00020BB7\u7530.ini", true},
        {L"vorn \u301C.ini", true}, // WAVE DASH; code page 932 has only the full-width tilde
        {L"vorn Beyonc\u00E9.ini", true},
        {L"vorn \u97F3\u697D.ini", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        unicode.wide_ini_path = temp_file_path(c.name.c_str());
        write_file(unicode.wide_ini_path, SECTION "Wait=45\r\nRepeat=1\r\n");
        unicode.messages.clear();
        plugin_settings = PluginSettings();
        load_settings();
        EXPECT_EQ(plugin_settings.Wait, 45);
        EXPECT_TRUE(plugin_settings.Repeat);
        plugin_settings.Wait = 77;
        save_settings();
        EXPECT_EQ(read_file(unicode.wide_ini_path),
                  SECTION "Wait=77\r\nRepeat=1\r\nStation=0\r\nEnable=1\r\n");
        int ansi_asks = 0;
        for (const RecordedMessage& m : unicode.messages) {
            ansi_asks += m.message == WM_WA_IPC && m.lParam == IPC_GETINIFILE;
        }
        EXPECT_EQ(ansi_asks, c.wide ? 0 : 1);
        DeleteFileW(unicode.wide_ini_path.c_str());
    }
}

TEST_F(SettingsTest, PlayerWithoutAPathUsesWinampIniInTheWindowsFolder) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string fallback = std::string(windows) + "\\winamp.ini";
    DeleteFileA(fallback.c_str());
    player.raw_ini_answer = 1;
    load_settings();
    plugin_settings.Wait = 77;
    save_settings();
    const std::string written = read_file(fallback);
    DeleteFileA(fallback.c_str());
    EXPECT_NE(written.find("Wait=77"), std::string::npos) << written;
}

} // namespace
