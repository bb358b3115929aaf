#include "settings/config_dialog.h"

#include "common/plugin_constants.h"
#include "common/plugin_settings.h"
#include "plugin/plugin_record.h"
#include "resources/dialog_ids.h"

bool dialog_open = false;

namespace {

// "曲情報を送信するまでの時間は%d秒～%d秒の間で設定して下さい" as code page 932 bytes, for
// wsprintfA and MessageBoxA.
constexpr char WAIT_RANGE_FORMAT[] =
    "\x8b\xc8\x8f\xee\x95\xf1\x82\xf0\x91\x97\x90\x4d\x82\xb7\x82\xe9\x82\xdc\x82\xc5\x82\xcc"
    "\x8e\x9e\x8a\xd4\x82\xcd"
    "%d"
    "\x95\x62\x81\x60"
    "%d"
    "\x95\x62\x82\xcc\x8a\xd4\x82\xc5\x90\xdd\x92\xe8\x82\xb5\x82\xc4\x89\xba\x82\xb3\x82\xa2";

// The delay's number is read from the text's first 31 bytes (a double-byte character takes two).
// One that runs on past them is refused rather than read cut, which could leave another number
// in range.
constexpr int WAIT_TEXT_MAX = 31;

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The digit at text, moving text past it, or -1. With the input method on, Japanese users type
// full-width digits: code page 932 writes ０ to ９ as 0x82 0x4F to 0x82 0x58. A lead byte whose
// trail byte is the NUL is no digit.
int take_digit(const char*& text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead >= '0' && lead <= '9') {
        ++text;
        return lead - '0';
    }
    const auto trail = static_cast<unsigned char>(lead == 0x82 ? text[1] : 0);
    if (trail >= 0x4F && trail <= 0x58) {
        text += 2;
        return trail - 0x4F;
    }
    return -1;
}

void show_settings(HWND dialog) {
    const PluginSettings& settings = plugin_settings;
    CheckDlgButton(dialog, STATION_CHECK_ID, settings.Station ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, REPEAT_CHECK_ID, settings.Repeat ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, ENABLE_CHECK_ID, settings.Enable ? BST_CHECKED : BST_UNCHECKED);
    char wait_text[16];
    wsprintfA(wait_text, "%d", static_cast<int>(settings.Wait));
    SetDlgItemTextA(dialog, WAIT_EDIT_ID, wait_text);
    SetDlgItemTextA(dialog, VERSION_TEXT_ID, PLUGIN_VERSION_TEXT);
}

// OK: a delay out of range keeps the dialog open and changes nothing.
void accept_settings(HWND dialog) {
    // Two bytes to spare: a read that stops before a double-byte character it cannot take whole
    // still shows a number that runs on past the 31st byte.
    char wait_text[WAIT_TEXT_MAX + 3] = "";
    GetDlgItemTextA(dialog, WAIT_EDIT_ID, wait_text, sizeof wait_text);
    const char* end = wait_text;
    int32_t wait = parse_delay(wait_text, &end);
    if (end - wait_text > WAIT_TEXT_MAX) {
        wait = 0;
    }
    if (wait < WAIT_MIN_SECONDS || wait > WAIT_MAX_SECONDS) {
        char message[sizeof WAIT_RANGE_FORMAT + 16];
        wsprintfA(message, WAIT_RANGE_FORMAT, static_cast<int>(WAIT_MIN_SECONDS),
                  static_cast<int>(WAIT_MAX_SECONDS));
        MessageBoxA(dialog, message, ERROR_CAPTION, 0);
        return;
    }
    PluginSettings& settings = plugin_settings;
    settings.Wait = wait;
    settings.Station = IsDlgButtonChecked(dialog, STATION_CHECK_ID) != 0;
    settings.Repeat = IsDlgButtonChecked(dialog, REPEAT_CHECK_ID) != 0;
    settings.Enable = IsDlgButtonChecked(dialog, ENABLE_CHECK_ID) != 0;
    EndDialog(dialog, 0);
}

} // namespace

int32_t parse_delay(const char* text, const char** end) {
    while (is_blank(*text)) {
        ++text;
    }
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') {
        ++text;
    }
    // Once past the accepted range the exact value no longer matters, so the digits stop
    // counting there and the number cannot wrap around into the range.
    int32_t value = 0;
    for (int digit = take_digit(text); digit >= 0; digit = take_digit(text)) {
        if (value <= WAIT_MAX_SECONDS) {
            value = value * 10 + digit;
        }
    }
    if (end != nullptr) {
        *end = text;
    }
    return negative ? -value : value;
}

void __cdecl show_config_dialog() {
    if (dialog_open) {
        return;
    }
    DialogBoxParamA(plugin_record.hDllInstance, MAKEINTRESOURCEA(CONFIG_DIALOG_ID),
                    plugin_record.hwndParent, config_dialog_proc, 0);
    // However the loop ended: OK, Cancel, a WM_QUIT or its owner destroyed.
    dialog_open = false;
}

INT_PTR CALLBACK config_dialog_proc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        dialog_open = true;
        show_settings(dialog);
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            accept_settings(dialog);
            break;
        case IDCANCEL:
            EndDialog(dialog, 0);
            break;
        }
        break;
    }
    return FALSE;
}
