// The settings dialog's template as the resource compiler built it into the module.

#include <string.h>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "resources/dialog_ids.h"

namespace {

// Reads an extended dialog template field by field.
class TemplateReader {
  public:
    explicit TemplateReader(const BYTE* data) : at_(data), start_(data) {}

    template <typename T> T next() {
        T value;
        memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    // A name or ordinal: 0xFFFF then a number, or a NUL-terminated UTF-16 string.
    std::wstring name() {
        if (peek_word() == 0xFFFF) {
            next<WORD>();
            return L"#" + std::to_wstring(next<WORD>());
        }
        std::wstring text;
        for (WORD c; (c = next<WORD>()) != 0;) {
            text += static_cast<wchar_t>(c);
        }
        return text;
    }
    void align_to_dword() { at_ += (4 - (at_ - start_) % 4) % 4; }

  private:
    WORD peek_word() const {
        WORD value;
        memcpy(&value, at_, sizeof value);
        return value;
    }
    const BYTE* at_;
    const BYTE* start_;
};

struct ExpectedControl {
    DWORD id;
    const wchar_t* window_class; // predefined classes are stored as ordinals
    const wchar_t* text;
    short x, y, cx, cy;
    DWORD style; // beyond WS_CHILD | WS_VISIBLE
};

constexpr DWORD NO_ID = 0xFFFFFFFF;
constexpr DWORD LEFT_TEXT = SS_LEFT | WS_GROUP;

const ExpectedControl CONTROLS[] = {
    {IDOK, L"#128", L"OK", 175, 133, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, L"#128", L"キャンセル", 234, 133, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {STATION_CHECK_ID, L"#128", L"起動時にvorn stationを自動的に起動する", 19, 91, 167, 8,
     BS_AUTOCHECKBOX | WS_TABSTOP},
    {NO_ID, L"#130", L"曲情報を送信するまでの時間：", 21, 41, 99, 8, LEFT_TEXT},
    {WAIT_EDIT_ID, L"#129", L"", 121, 39, 29, 12, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
    {NO_ID, L"#130", L"秒", 154, 41, 8, 8, LEFT_TEXT},
    {REPEAT_CHECK_ID, L"#128", L"同じ曲のリピート再生時に、曲情報を毎回送信する", 19, 62, 191, 8,
     BS_AUTOCHECKBOX | WS_TABSTOP},
    {VERSION_TEXT_ID, L"#130", L"v0.00", 255, 119, 28, 9, LEFT_TEXT},
    {NO_ID, L"#130", L"※一旦停止した後に同じ曲を再生した場合は、設定に関わらず送信されます", 31, 72,
     241, 8, LEFT_TEXT},
    {ENABLE_CHECK_ID, L"#128", L"プラグインを有効にする（曲情報を送信する）", 7, 7, 168, 10,
     BS_AUTOCHECKBOX | WS_TABSTOP},
    {NO_ID, L"#128", L"動作設定", 7, 23, 277, 91, BS_GROUPBOX},
};

TEST(DialogTemplate, IsTheJapaneseExtendedTemplateControlByControl) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceExA(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */,
                                     MAKEINTRESOURCEA(CONFIG_DIALOG_ID),
                                     MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_NE(resource, nullptr);
    TemplateReader reader(static_cast<const BYTE*>(LockResource(LoadResource(module, resource))));

    EXPECT_EQ(reader.next<WORD>(), 1);      // dlgVer
    EXPECT_EQ(reader.next<WORD>(), 0xFFFF); // signature of the extended form
    EXPECT_EQ(reader.next<DWORD>(), 0u);    // helpID
    EXPECT_EQ(reader.next<DWORD>(), 0u);    // exStyle
    EXPECT_EQ(reader.next<DWORD>(),
              DWORD(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS));
    const WORD count = reader.next<WORD>();
    ASSERT_EQ(count, std::size(CONTROLS));
    for (short expected : {0, 0, 291, 154}) {
        EXPECT_EQ(reader.next<short>(), expected);
    }
    EXPECT_EQ(reader.name(), L""); // no menu
    EXPECT_EQ(reader.name(), L""); // the standard dialog class
    EXPECT_EQ(reader.name(), L"vorn station plugin");
    EXPECT_EQ(reader.next<WORD>(), 8);   // points
    EXPECT_EQ(reader.next<WORD>(), 400); // weight
    EXPECT_EQ(reader.next<BYTE>(), 0);   // not italic
    EXPECT_EQ(reader.next<BYTE>(), DEFAULT_CHARSET);
    EXPECT_EQ(reader.name(), L"MS Shell Dlg");

    for (const ExpectedControl& control : CONTROLS) {
        SCOPED_TRACE(control.id);
        reader.align_to_dword();
        EXPECT_EQ(reader.next<DWORD>(), 0u); // helpID
        EXPECT_EQ(reader.next<DWORD>(), 0u); // exStyle
        EXPECT_EQ(reader.next<DWORD>(), WS_CHILD | WS_VISIBLE | control.style);
        for (short expected : {control.x, control.y, control.cx, control.cy}) {
            EXPECT_EQ(reader.next<short>(), expected);
        }
        EXPECT_EQ(reader.next<DWORD>(), control.id);
        EXPECT_EQ(reader.name(), control.window_class);
        EXPECT_EQ(reader.name(), control.text);
        EXPECT_EQ(reader.next<WORD>(), 0); // no creation data
    }
}

} // namespace
