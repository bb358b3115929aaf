#include "tests/dialog_driver.h"

#include <gtest/gtest.h>

#include "resources/dialog_ids.h"

namespace {

DialogRun* run = nullptr;
const std::function<void(HWND)>* script = nullptr;
HWND dialog = nullptr;

void CALLBACK run_script(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    (*script)(dialog);
    // Ending a dialog hides it at once; a WM_QUIT ends its loop once the script returns.
    MSG quit;
    if (IsWindowVisible(dialog) && !PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) {
        ADD_FAILURE() << "the script left the settings dialog open";
        EndDialog(dialog, 0);
    }
}

// The settings dialog is the one with the delay box. The script starts from a thread timer, so
// that it runs inside the dialog's modal loop once initialisation is over.
LRESULT CALLBACK on_message_done(int code, WPARAM wParam, LPARAM lParam) {
    const auto* done = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && done->message == WM_INITDIALOG &&
        GetDlgItem(done->hwnd, WAIT_EDIT_ID) != nullptr) {
        if (++run->opened == 1) {
            dialog = done->hwnd;
            SetTimer(nullptr, 0, 0, run_script);
        } else {
            PostMessageW(done->hwnd, WM_COMMAND, IDCANCEL, 0); // a second one must not stay
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

DialogRun run_config_dialog(const std::function<void(HWND)>& dialog_script, void(__cdecl* open)()) {
    DialogRun result;
    run = &result;
    script = &dialog_script;
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROCRET, on_message_done, nullptr, GetCurrentThreadId());
    result.boxes = capture_message_boxes(open);
    UnhookWindowsHookEx(hook);
    run = nullptr;
    script = nullptr;
    dialog = nullptr;
    return result;
}

void click(HWND dialog, int control) {
    SendMessageW(GetDlgItem(dialog, control), BM_CLICK, 0, 0);
}

void type_text(HWND dialog, int control, const std::wstring& text) {
    SetDlgItemTextW(dialog, control, text.c_str());
}

std::wstring control_text(HWND dialog, int control) {
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, control, text, 256);
    return text;
}

void pump_messages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
}
