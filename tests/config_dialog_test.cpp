// The settings dialog driven as a user drives it, over the player stand-in's window.

#include "common/plugin_constants.h"
#include "common/plugin_settings.h"
#include "plugin/plugin_record.h"
#include "resources/dialog_ids.h"
#include "settings/config_dialog.h"
#include "tests/dialog_driver.h"
#include "tests/tracker_fixture.h"

// Found by argument-dependent lookup, so at global scope like PluginSettings.
bool operator==(const PluginSettings& a, const PluginSettings& b) {
    return a.Enable == b.Enable && a.Wait == b.Wait && a.Repeat == b.Repeat &&
           a.Station == b.Station;
}
void PrintTo(const PluginSettings& s, std::ostream* out) {
    *out << "{Enable " << s.Enable << ", Wait " << s.Wait << ", Repeat " << s.Repeat << ", Station "
         << s.Station << "}";
}

namespace {

using Titles = std::vector<std::string>;

// The tracker is installed too, to show that it keeps working while the dialog is open.
class ConfigDialogTest : public TrackerTest {
  protected:
    void SetUp() override {
        TrackerTest::SetUp();
        plugin_record.hDllInstance = GetModuleHandleA(nullptr); // holds the template
        dialog_open = false;
    }
    void TearDown() override {
        KillTimer(player.window(), REPORT_TIMER_ID);
        TrackerTest::TearDown();
    }

    static void flip_all_check_boxes(HWND dialog) {
        for (int control : {STATION_CHECK_ID, REPEAT_CHECK_ID, ENABLE_CHECK_ID}) {
            click(dialog, control);
        }
    }
};

TEST_F(ConfigDialogTest, OpensOverThePlayerShowingTheSettings) {
    for (const PluginSettings& settings :
         {PluginSettings{true, 604800, false, true}, PluginSettings{false, 10, true, false}}) {
        SCOPED_TRACE(settings.Wait);
        plugin_settings = settings;
        const DialogRun run = run_config_dialog([&](HWND dialog) {
            EXPECT_TRUE(dialog_open);
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), player.window());
            EXPECT_EQ(IsDlgButtonChecked(dialog, ENABLE_CHECK_ID), UINT(settings.Enable));
            EXPECT_EQ(IsDlgButtonChecked(dialog, REPEAT_CHECK_ID), UINT(settings.Repeat));
            EXPECT_EQ(IsDlgButtonChecked(dialog, STATION_CHECK_ID), UINT(settings.Station));
            EXPECT_EQ(control_text(dialog, WAIT_EDIT_ID), std::to_wstring(settings.Wait));
            EXPECT_EQ(control_text(dialog, VERSION_TEXT_ID), L"v1.21");
            click(dialog, IDCANCEL);
        });
        EXPECT_EQ(run.opened, 1);
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_FALSE(dialog_open);
    }
}

int CALLBACK note_font(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// In the font Japanese Windows gives dialogs, every text of the template fits its control
// whole: each static text, check box (beside its box) and button, measured in its own font.
TEST_F(ConfigDialogTest, EveryTextFitsItsControl) {
    // The font the test prefix gives dialogs in its stead; without it Wine would measure
    // another one, and the test would prove nothing.
    LOGFONTW stand_in = {};
    stand_in.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(stand_in.lfFaceName, L"IPAPGothic");
    bool installed = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &stand_in, note_font, reinterpret_cast<LPARAM>(&installed), 0);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(installed) << "IPA P Gothic is missing: install fonts-ipafont-gothic";

    int measured = 0;
    run_config_dialog([&](HWND dialog) {
        for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
             control = GetWindow(control, GW_HWNDNEXT)) {
            wchar_t kind[16] = L"";
            GetClassNameW(control, kind, 16);
            if (lstrcmpiW(kind, L"Edit") == 0) {
                continue;
            }
            wchar_t text[128] = L"";
            const int length = GetWindowTextW(control, text, 128);
            HDC dc = GetDC(control);
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
            SIZE needed = {};
            GetTextExtentPoint32W(dc, text, length, &needed);
            ReleaseDC(control, dc);
            RECT room;
            GetClientRect(control, &room);
            const bool check_box =
                lstrcmpiW(kind, L"Button") == 0 &&
                (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
            const LONG box = check_box ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0;
            char name[384] = "";
            WideCharToMultiByte(CP_UTF8, 0, text, -1, name, sizeof name, nullptr, nullptr);
            EXPECT_LE(needed.cx, room.right - box) << "cut off: " << name;
            ++measured;
        }
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(measured, 10);
}

TEST_F(ConfigDialogTest, OkTakesTheDelayOnlyWithinItsRange) {
    struct Case {
        const wchar_t* typed;
        int32_t wait; // 0: refused
    };
    const Case cases[] = {
        {L"10", 10},
        {L"604800", 604800},
        {L"45s", 45},
        {L" 20", 20},
        {L"\t+15", 15},
        {L"0000000000000000000000000000025", 25}, // 31 characters
        {L"45 seconds, then more than 31 bytes in all", 45},
        {L"9", 0},
        {L"604801", 0},
        {L"-10", 0},
        {L"abc", 0},
        {L"", 0},
        {L"６０", 60}, // typed with the input method on
        {L"１０", 10},
        {L"\t+６０4９", 6049}, // both widths in one number
        {L"６０４８０１", 0},
        {L"－６０", 0},                            // a full-width sign is no sign
        {L"0０００００００００００００２５", 25},  // 31 bytes
        {L"00０００００００００００００２５", 0},  // 32 bytes: longer than a delay holds
        {L"00000000000000000000000000１２３", 0},  // 32 bytes, not 12
        {L"000000000000000000000000000１２３", 0}, // 33 bytes, not 12
        {L"\x3000"
         L"20",
         0},                // nor is a full-width space white space
        {L"4294967306", 0}, // would wrap around to 10 in 32 bits
        {L"2147483648", 0},
        {L"99999999999999999999999999999", 0},
    };
    const PluginSettings before{true, 30, false, false};
    for (const Case& c : cases) {
        const PluginSettings after =
            c.wait != 0 ? PluginSettings{false, c.wait, true, true} : before;
        SCOPED_TRACE(testing::Message() << "typed: " << c.typed);
        plugin_settings = before;
        bool open_after_ok = false;
        const DialogRun run = run_config_dialog([&](HWND dialog) {
            flip_all_check_boxes(dialog);
            type_text(dialog, WAIT_EDIT_ID, c.typed);
            click(dialog, IDOK);
            open_after_ok = dialog_open && IsWindowVisible(dialog);
            EXPECT_EQ(plugin_settings, after);
            if (open_after_ok) {
                click(dialog, IDCANCEL);
            }
        });
        EXPECT_EQ(open_after_ok, c.wait == 0);
        if (c.wait == 0) {
            ASSERT_EQ(run.boxes.size(), 1u);
            EXPECT_EQ(run.boxes[0].caption, L"vorn station pluginエラー");
            EXPECT_EQ(run.boxes[0].text,
                      L"曲情報を送信するまでの時間は10秒～604800秒の間で設定して下さい");
            EXPECT_NE(run.boxes[0].owner, nullptr); // the dialog, gone by now
            EXPECT_EQ(plugin_settings, before);
        } else {
            EXPECT_TRUE(run.boxes.empty());
        }
    }
}

TEST_F(ConfigDialogTest, CancelKeepsEverythingAndAskingAgainWhileOpenDoesNothing) {
    const PluginSettings before{true, 30, false, true};
    plugin_settings = before;
    const DialogRun run = run_config_dialog([&](HWND dialog) {
        flip_all_check_boxes(dialog);
        type_text(dialog, WAIT_EDIT_ID, L"45");
        show_config_dialog(); // returns at once
        EXPECT_TRUE(IsWindowEnabled(dialog));
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(run.opened, 1);
    EXPECT_EQ(plugin_settings, before);
    EXPECT_FALSE(dialog_open);
}

// However its loop ended, asking for the settings again opens the dialog.
TEST_F(ConfigDialogTest, OpensAgainHoweverItEnded) {
    struct Case {
        const char* name;
        std::function<void(HWND dialog)> end;
    };
    const Case cases[] = {
        {"OK", [](HWND dialog) { click(dialog, IDOK); }},
        {"Cancel", [](HWND dialog) { click(dialog, IDCANCEL); }},
        {"WM_QUIT in its loop", [](HWND) { PostQuitMessage(0); }},
        {"its owner destroyed", [](HWND dialog) { DestroyWindow(GetWindow(dialog, GW_OWNER)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialog_open = false;
        // An owner of its own, which the case may destroy.
        HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                     nullptr, nullptr, nullptr);
        plugin_record.hwndParent = owner;
        EXPECT_EQ(run_config_dialog(c.end).opened, 1);
        MSG quit; // the modal loop hands the WM_QUIT on to the player's loop: taken here
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        DestroyWindow(owner);
        plugin_record.hwndParent = player.window();
        EXPECT_EQ(run_config_dialog([](HWND dialog) { click(dialog, IDCANCEL); }).opened, 1);
        EXPECT_FALSE(dialog_open);
    }
}

TEST_F(ConfigDialogTest, TrackerGoesOnWithTheOldValuesUntilOkSucceeds) {
    plugin_settings.Wait = 10;
    announce(song("first", "artist"));
    // The player's real timer, sped up; its ticks reach the hook through the dialog's loop.
    SetTimer(player.window(), REPORT_TIMER_ID, 10, nullptr);
    const DialogRun run = run_config_dialog([&](HWND dialog) {
        click(dialog, ENABLE_CHECK_ID); // reports off, once OK is pressed
        pump_messages(500);
        EXPECT_EQ(reported_titles(), Titles{"first"});

        announce(song("second", "artist"));
        click(dialog, IDOK);
        pump_messages(500);
    });
    EXPECT_EQ(run.opened, 1);
    EXPECT_FALSE(plugin_settings.Enable);
    EXPECT_EQ(reported_titles(), Titles{});
}

} // namespace
