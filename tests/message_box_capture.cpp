#include "tests/message_box_capture.h"

namespace {

MessageBoxCapture* active_capture = nullptr;

// The message box's text is the static control with this identifier.
constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;

std::wstring window_text(HWND window) {
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

} // namespace

MessageBoxCapture::MessageBoxCapture()
    : hook_(SetWindowsHookExW(WH_CALLWNDPROCRET, on_message_done, nullptr, GetCurrentThreadId())) {
    active_capture = this;
}

MessageBoxCapture::~MessageBoxCapture() {
    UnhookWindowsHookEx(hook_);
    active_capture = nullptr;
}

// A message box has its caption and text once its WM_INITDIALOG has been handled.
LRESULT CALLBACK MessageBoxCapture::on_message_done(int code, WPARAM wParam, LPARAM lParam) {
    const auto* done = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && done->message == WM_INITDIALOG && active_capture != nullptr) {
        HWND box = done->hwnd;
        active_capture->boxes.push_back({window_text(box),
                                         window_text(GetDlgItem(box, MESSAGE_BOX_TEXT_ID)),
                                         GetWindow(box, GW_OWNER)});
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
