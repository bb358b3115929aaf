// The stand-in's window: one hidden top-level window of the player's class, of either kind, and
// the record of every message that reaches its own procedure.

#include "tools/player_standin/player_standin.h"

namespace {

constexpr wchar_t PLAYER_WINDOW_CLASS[] = L"Winamp v1.x";

} // namespace

PlayerStandin::PlayerStandin(WindowKind kind) : kind_(kind) {
    // One class for both kinds, registered once: it fails harmlessly when it already is.
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = unicode_window_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = PLAYER_WINDOW_CLASS;
    RegisterClassW(&window_class);
    window_ = CreateWindowExW(0, PLAYER_WINDOW_CLASS, L"player stand-in", WS_OVERLAPPEDWINDOW, 0, 0,
                              400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (kind == WindowKind::Ansi) {
        // An ANSI procedure makes it an ANSI window, as an older player's is.
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ansi_window_proc));
    }
    messages.clear();
}

PlayerStandin::~PlayerStandin() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

LONG_PTR PlayerStandin::window_proc() const {
    return kind_ == WindowKind::Unicode ? GetWindowLongPtrW(window_, GWLP_WNDPROC)
                                        : GetWindowLongPtrA(window_, GWLP_WNDPROC);
}

void PlayerStandin::set_window_proc(LONG_PTR procedure) {
    if (kind_ == WindowKind::Unicode) {
        SetWindowLongPtrW(window_, GWLP_WNDPROC, procedure);
    } else {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, procedure);
    }
}

// The stand-in that owns the window, recording the message; none before WM_NCCREATE and after
// WM_NCDESTROY.
PlayerStandin* PlayerStandin::receiver(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // lpCreateParams comes first in both CREATESTRUCTA and CREATESTRUCTW.
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PlayerStandin*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return self;
}

LRESULT CALLBACK PlayerStandin::ansi_window_proc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    PlayerStandin* self = receiver(window, message, lParam);
    if (self == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    self->messages.push_back({message, wParam, lParam, {}});
    return self->answer(window, message, wParam, lParam);
}

LRESULT CALLBACK PlayerStandin::unicode_window_proc(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
    PlayerStandin* self = receiver(window, message, lParam);
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    std::wstring text;
    if (message == WM_SETTEXT && lParam != 0) {
        text = reinterpret_cast<const wchar_t*>(lParam);
    }
    self->messages.push_back({message, wParam, lParam, text});
    return self->answer(window, message, wParam, lParam);
}
