// Finding the companion in the registry of the test prefix and starting it.

#include <string.h>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "launcher/station_launcher.h"
#include "plugin/plugin_record.h"
#include "tests/message_box_capture.h"
#include "tests/station_registry.h"
#include "tests/temp_files.h"
#include "tools/player_standin/player_standin.h"

namespace {

class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plugin_record.hwndParent = player.window();
        delete_station_key();
    }
    void TearDown() override { delete_station_key(); }

    PlayerStandin player;
};

TEST_F(LauncherTest, PathIsReadWholeAndTerminatedOrNotAtAll) {
    const std::string path = "C:\\Program Files\\vorn\\station.exe";
    const std::string longest(MAX_PATH - 1, 'p');
    struct Case {
        DWORD type;         // REG_NONE: nothing stored
        std::string stored; // the value's bytes, exactly
        const char* read;   // nullptr: not found
    };
    const Case cases[] = {
        {REG_SZ, path + '\0', path.c_str()},
        {REG_EXPAND_SZ, "%ProgramFiles%\\s.exe" + std::string(1, '\0'), "%ProgramFiles%\\s.exe"},
        {REG_BINARY, path + '\0', path.c_str()},
        {REG_SZ, path, path.c_str()},     // without its NUL
        {REG_BINARY, path, path.c_str()}, // without its NUL
        {REG_SZ, longest + '\0', longest.c_str()},
        {REG_BINARY, longest + 'p', nullptr}, // fills the buffer, no room for the NUL
        {REG_SZ, std::string(300, 'p') + '\0', nullptr},
        {REG_NONE, "", nullptr},            // missing
        {REG_SZ, std::string(1, '\0'), ""}, // empty, as an installer writes ""
        {REG_SZ, "", ""},                   // empty, not even a NUL
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.stored.size()
                                        << " bytes: " << c.stored.substr(0, 40));
        delete_station_key();
        if (c.type != REG_NONE) {
            store_station_path(c.type, c.stored);
        }
        memset(station_path, 'x', sizeof station_path);
        EXPECT_EQ(find_station_path(), c.read != nullptr);
        if (c.read != nullptr) {
            EXPECT_STREQ(station_path, c.read);
        }
    }
}

TEST_F(LauncherTest, StartsTheCompanionNamedInTheRegistryOnce) {
    const std::string program = temp_copy_of_program("station_marker.exe");
    const std::string marker = program + ".ran";
    DeleteFileA(marker.c_str());
    store_station_path(REG_SZ, program + '\0');

    EXPECT_TRUE(capture_message_boxes(launch_station).empty());
    // The shell starts the program and returns at once.
    EXPECT_EQ(read_file_once_written(marker), "started\n");
    DeleteFileA(marker.c_str());
}

// Installed under a folder whose name code page 932 lacks, the companion is found and started
// through the wide functions; a path the code page holds is still read in it.
TEST_F(LauncherTest, PathOutsideTheCodePageIsReadAndStartedWide) {
    const std::wstring outside = L"C:\\\U00020BB7\u7530\\\uBCC4 Beyonc\u00E9\\station.exe";
    const std::wstring hangul_300(300, L'\uBCC4');
    const std::wstring hangul_260(MAX_PATH, L'\uBCC4');
    struct Case {
        DWORD type;
        std::wstring stored;
        const wchar_t* wide; // nullptr: not found wide
        const char* ansi;    // nullptr: not found in the ANSI code page either
    };
    const Case cases[] = {
        {REG_SZ, outside + L'\0', outside.c_str(), nullptr},
        {REG_EXPAND_SZ, outside + L'\0', outside.c_str(), nullptr},
        {REG_SZ, outside, outside.c_str(), nullptr}, // without its NUL
        {REG_SZ, L"C:\\\u97F3\u697D\\s.exe" + std::wstring(1, L'\0'), nullptr,
         "C:\\\x89\xb9\x8a\x79\\s.exe"}, // kanji the code page holds: the ANSI road
        {REG_SZ, hangul_300 + L'\0', nullptr, nullptr},
        {REG_SZ, hangul_260, nullptr, nullptr}, // fills the buffer, no room for the NUL
        {REG_SZ, hangul_260.substr(1) + L'\0', hangul_260.c_str() + 1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored.size() << " units of type " << c.type);
        delete_station_key();
        store_station_path(c.type, c.stored);
        EXPECT_EQ(find_station_path(), c.wide != nullptr || c.ansi != nullptr);
        EXPECT_EQ(std::wstring(station_path_wide), c.wide ? c.wide : L"");
        if (c.ansi != nullptr) {
            EXPECT_STREQ(station_path, c.ansi);
        }
    }

    const std::wstring folder = temp_file_path(L"vorn \U00020BB7\u7530 \uBCC4");
    const std::wstring program = folder + L"\\station_marker.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(
        CopyFileW(program_folder_path(L"station_marker.exe").c_str(), program.c_str(), FALSE));
    DeleteFileW((program + L".ran").c_str());
    store_station_path(REG_SZ, program + L'\0');
    EXPECT_TRUE(capture_message_boxes(launch_station).empty());
    EXPECT_EQ(read_file_once_written(program + L".ran"), "started\n");
    DeleteFileW((program + L".ran").c_str());
    DeleteFileW(program.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(LauncherTest, MissingOrUnusablePathShowsTheMessage) {
    for (const std::string& stored : {std::string(), std::string(300, 'p') + '\0'}) {
        delete_station_key();
        if (!stored.empty()) {
            store_station_path(REG_SZ, stored);
        }
        const std::vector<CapturedBox> boxes = capture_message_boxes(launch_station);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, L"vorn station pluginエラー");
        EXPECT_EQ(boxes[0].text, L"レジストリキーを発見できませんでした。\nvorn stationが"
                                 L"インストールされていないか、仕様が変更された恐れがあります。");
        EXPECT_EQ(boxes[0].owner, nullptr);
        HKEY key; // the lookup created the key it did not find, and left it behind
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, STATION_REGISTRY_KEY, 0, KEY_READ, &key), 0);
        RegCloseKey(key);
    }
}

} // namespace
