// The settings in the player's ini file: defaults, the range of Wait, and a save that leaves
// the rest of the player's shared file as it was.

#include <gtest/gtest.h>
#include <windows.h>

#include "common/plugin_settings.h"
#include "plugin/plugin_record.h"
#include "settings/settings_store.h"
#include "tests/temp_files.h"
#include "tools/player_standin/player_standin.h"

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plugin_settings = PluginSettings();
        plugin_record.hwndParent = player.window();
        player.ini_path = folder.path("winamp.ini");
    }

    // Loads from a file holding `contents`, or from no file at all.
    PluginSettings load(const char* contents) {
        DeleteFileA(player.ini_path.c_str());
        if (contents != nullptr) {
            write_file(player.ini_path, contents);
        }
        plugin_settings = PluginSettings();
        load_settings();
        return plugin_settings;
    }

    PlayerStandin player;
    TempFolder folder;
};

struct Loaded {
    const char* name;
    const char* contents;
    bool enable;
    int wait;
    bool repeat;
    bool station;
};

TEST_F(SettingsTest, LoadsEachKeyWithItsDefaultAndRange) {
    const Loaded cases[] = {
        {"no file", nullptr, true, 30, false, false},
        {"empty file", "", true, 30, false, false},
        {"other section only", "[Winamp]\r\nWait=45\r\n", true, 30, false, false},
        {"all set",
         "[vorn station song Plugin for "
         "winamp]\r\nStation=1\r\nWait=45\r\nRepeat=1\r\nEnable=0\r\n",
         false, 45, true, true},
        {"nonzero is on", "[vorn station song Plugin for winamp]\r\nEnable=5\r\nRepeat=-1\r\n",
         true, 30, true, false},
        {"Wait 9", "[vorn station song Plugin for winamp]\r\nWait=9\r\n", true, 30, false, false},
        {"Wait 10", "[vorn station song Plugin for winamp]\r\nWait=10\r\n", true, 10, false, false},
        {"Wait 604800", "[vorn station song Plugin for winamp]\r\nWait=604800\r\n", true, 604800,
         false, false},
        {"Wait 604801", "[vorn station song Plugin for winamp]\r\nWait=604801\r\n", true, 30, false,
         false},
        {"Wait negative", "[vorn station song Plugin for winamp]\r\nWait=-45\r\n", true, 30, false,
         false},
        // Whatever the profile functions make of text: leading digits, or 0.
        {"Wait with a suffix", "[vorn station song Plugin for winamp]\r\nWait=45s\r\n", true, 45,
         false, false},
        {"Enable not a number", "[vorn station song Plugin for winamp]\r\nEnable=yes\r\n", false,
         30, false, false},
    };
    for (const Loaded& c : cases) {
        SCOPED_TRACE(c.name);
        const PluginSettings got = load(c.contents);
        EXPECT_EQ(got.Enable, c.enable);
        EXPECT_EQ(got.Wait, c.wait);
        EXPECT_EQ(got.Repeat, c.repeat);
        EXPECT_EQ(got.Station, c.station);
    }
}

// Wine rewrites the whole file on each write and drops blank lines, which Windows keeps; the
// files here are in the form both leave as they are.
TEST_F(SettingsTest, SaveChangesOnlyThePluginsKeys) {
    struct Case {
        const char* name;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"keys absent are added in order",
         "; the player's "
         "settings\r\n[Winamp]\r\nskin=\x95\x5c\x8e\xa6\r\n[in_mp3]\r\nbuffer=64\r\n",
         "; the player's settings\r\n[Winamp]\r\nskin=\x95\x5c\x8e\xa6\r\n[in_mp3]\r\nbuffer=64\r\n"
         "[vorn station song Plugin for winamp]\r\nStation=0\r\nWait=30\r\nRepeat=0\r\n"
         "Enable=1\r\n"},
        {"present keys keep their place",
         "[Winamp]\r\nvolume=200\r\n[vorn station song Plugin for winamp]\r\nEnable=5\r\n"
         "Repeat=0\r\nWait=9\r\n[gen_other]\r\nWait=7\r\n",
         "[Winamp]\r\nvolume=200\r\n[vorn station song Plugin for winamp]\r\nEnable=1\r\n"
         "Repeat=0\r\nWait=30\r\nStation=0\r\n[gen_other]\r\nWait=7\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        load(c.before);
        save_settings();
        EXPECT_EQ(read_file(player.ini_path), c.after);
    }
}

TEST_F(SettingsTest, SavedValuesLoadBack) {
    load(nullptr);
    plugin_settings = {false, 604800, true, true};
    save_settings();
    const PluginSettings got = load(read_file(player.ini_path).c_str());
    EXPECT_FALSE(got.Enable);
    EXPECT_EQ(got.Wait, 604800);
    EXPECT_TRUE(got.Repeat);
    EXPECT_TRUE(got.Station);
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
