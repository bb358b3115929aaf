// Finding the companion in the registry and starting it, against the real registry of the
// test prefix.

#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "common/plugin_constants.h"
#include "launcher/station_launcher.h"
#include "plugin/plugin_record.h"
#include "tests/message_box_capture.h"
#include "tests/temp_files.h"
#include "tools/player_standin/player_standin.h"

namespace {

const wchar_t EXPECTED_CAPTION[] = L"vorn station pluginエラー";
const wchar_t EXPECTED_TEXT[] =
    L"レジストリキーを発見できませんでした。\n"
    L"vorn stationがインストールされていないか、仕様が変更された恐れがあります。";

void delete_station_key() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, STATION_REGISTRY_KEY);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\vorn");
}

bool station_key_exists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, STATION_REGISTRY_KEY, 0, KEY_READ, &key) != 0) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void store_path(DWORD type, const std::string& bytes) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, STATION_REGISTRY_KEY, 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, STATION_PATH_VALUE, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

// The stand-in companion, built next to the test program.
std::string marker_program() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + "station_marker.exe";
}

class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        delete_station_key();
        plugin_record.hwndParent = player.window();
    }
    void TearDown() override { delete_station_key(); }

    PlayerStandin player;
};

TEST_F(LauncherTest, PathIsReadWholeAndTerminatedOrNotAtAll) {
    const std::string path = "C:\\Program Files\\vorn\\station.exe";
    const std::string longest(MAX_PATH - 1, 'p');
    struct Case {
        const char* name;
        DWORD type;
        std::string stored; // nothing stored when empty
        bool found;
        std::string read;
    };
    const Case cases[] = {
        {"string", REG_SZ, path + '\0', true, path},
        {"expandable string, not expanded", REG_EXPAND_SZ,
         "%ProgramFiles%\\s.exe" + std::string(1, '\0'), true, "%ProgramFiles%\\s.exe"},
        {"binary", REG_BINARY, path + '\0', true, path},
        {"string stored without NUL", REG_SZ, path, true, path},
        {"binary without NUL", REG_BINARY, path, true, path},
        {"longest that fits", REG_SZ, longest + '\0', true, longest},
        {"fills the buffer without NUL", REG_BINARY, longest + 'p', false, ""},
        {"too long", REG_SZ, std::string(300, 'p') + '\0', false, ""},
        {"no value", REG_SZ, "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        delete_station_key();
        if (!c.stored.empty()) {
            store_path(c.type, c.stored);
        }
        memset(station_path, 'x', sizeof station_path);
        EXPECT_EQ(find_station_path(), c.found);
        if (c.found) {
            EXPECT_EQ(std::string(station_path), c.read);
        }
    }
}

TEST_F(LauncherTest, StartsTheCompanionNamedInTheRegistryOnce) {
    const std::string program = marker_program();
    const std::string marker = program + ".ran";
    DeleteFileA(marker.c_str());
    store_path(REG_SZ, program + '\0');

    MessageBoxCapture capture;
    launch_station();
    // The shell starts the program and returns at once: wait for its mark.
    for (int i = 0; i < 300 && !file_exists(marker); ++i) {
        Sleep(100);
    }
    Sleep(500);
    EXPECT_EQ(read_file(marker), "started\n");
    EXPECT_TRUE(capture.boxes.empty());
    DeleteFileA(marker.c_str());
}

TEST_F(LauncherTest, MissingOrUnusablePathShowsTheMessage) {
    struct Case {
        const char* name;
        std::string stored;
    };
    const Case cases[] = {
        {"no key", ""},
        {"too long", std::string(300, 'p') + '\0'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        delete_station_key();
        if (!c.stored.empty()) {
            store_path(REG_SZ, c.stored);
        }
        MessageBoxCapture capture;
        launch_station();
        ASSERT_EQ(capture.boxes.size(), 1u);
        EXPECT_EQ(capture.boxes[0].caption, EXPECTED_CAPTION);
        EXPECT_EQ(capture.boxes[0].text, EXPECTED_TEXT);
        EXPECT_EQ(capture.boxes[0].owner, nullptr);
        // The lookup creates the key it did not find, and leaves it behind empty.
        EXPECT_TRUE(station_key_exists());
    }
}

} // namespace
