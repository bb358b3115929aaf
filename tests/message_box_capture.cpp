#include "tests/message_box_capture.h"

namespace {

std::vector<CapturedBox>* captured = nullptr;
const std::function<void()>* while_up = nullptr;

std::wstring window_text(HWND window) {
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

// A message box has its caption and text once its WM_INITDIALOG has been handled; the text is
// the static control 0xFFFF, which tells a message box from other dialogs.
LRESULT CALLBACK on_message_done(int code, WPARAM wParam, LPARAM lParam) {
    const auto* done = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    const HWND text = code == HC_ACTION && done->message == WM_INITDIALOG
                          ? GetDlgItem(done->hwnd, 0xFFFF)
                          : nullptr;
    if (text != nullptr) {
        captured->push_back(
            {window_text(done->hwnd), window_text(text), GetWindow(done->hwnd, GW_OWNER)});
        if (*while_up) {
            (*while_up)();
        }
        PostMessageW(done->hwnd, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

std::vector<CapturedBox> capture_message_boxes(const std::function<void()>& action,
                                               const std::function<void()>& while_box_up) {
    std::vector<CapturedBox> boxes;
    captured = &boxes;
    while_up = &while_box_up;
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROCRET, on_message_done, nullptr, GetCurrentThreadId());
    action();
    UnhookWindowsHookEx(hook);
    captured = nullptr;
    while_up = nullptr;
    return boxes;
}
