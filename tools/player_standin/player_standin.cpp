#include "tools/player_standin/player_standin.h"

#include <string.h>

#include "plugin/host_interface.h"

namespace {

constexpr char ANSI_CLASS[] = "VornPlayerStandin";
constexpr wchar_t UNICODE_CLASS[] = L"VornPlayerStandinW";

// Each class fails harmlessly to register when it already is.
HWND create_ansi_window(WNDPROC procedure, void* self) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = ANSI_CLASS;
    RegisterClassA(&window_class);
    return CreateWindowExA(0, ANSI_CLASS, "player stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                           nullptr, nullptr, GetModuleHandleA(nullptr), self);
}

HWND create_unicode_window(WNDPROC procedure, void* self) {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = UNICODE_CLASS;
    RegisterClassW(&window_class);
    return CreateWindowExW(0, UNICODE_CLASS, L"player stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                           300, nullptr, nullptr, GetModuleHandleW(nullptr), self);
}

const std::string* field_of(const PlaylistEntry& entry, const char* key) {
    if (strcmp(key, "Title") == 0)
        return &entry.title;
    if (strcmp(key, "Artist") == 0)
        return &entry.artist;
    if (strcmp(key, "Album") == 0)
        return &entry.album;
    if (strcmp(key, "Genre") == 0)
        return &entry.genre;
    return nullptr;
}

} // namespace

PlayerStandin::PlayerStandin(WindowKind kind) : kind_(kind) {
    window_ = kind == WindowKind::Unicode ? create_unicode_window(unicode_window_proc, this)
                                          : create_ansi_window(ansi_window_proc, this);
    messages.clear();
}

PlayerStandin::~PlayerStandin() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void PlayerStandin::notify_status_changed() {
    SendMessageA(window_, WM_WA_IPC, IPC_CB_MISC_STATUS, IPC_CB_MISC);
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

LRESULT PlayerStandin::answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WA_IPC) {
        return answer_request(wParam, lParam);
    }
    auto canned = canned_results.find(message);
    if (canned != canned_results.end()) {
        return canned->second;
    }
    return kind_ == WindowKind::Unicode ? DefWindowProcW(window, message, wParam, lParam)
                                        : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT PlayerStandin::answer_request(WPARAM wParam, LPARAM operation) {
    switch (operation) {
    case IPC_GETVERSION:
        return version;
    case IPC_ISPLAYING:
        return play_status;
    case IPC_GETLISTPOS:
        return list_pos;
    case IPC_GETPLAYLISTFILE:
        if (wParam >= playlist.size()) {
            return 0;
        }
        return reinterpret_cast<LRESULT>(playlist[wParam].file_name.c_str());
    case IPC_GET_EXTENDED_FILE_INFO:
        return fill_metadata(*reinterpret_cast<const extendedFileInfoStruct*>(wParam));
    case IPC_GETINIFILE:
        if (raw_ini_answer) {
            return *raw_ini_answer;
        }
        return reinterpret_cast<LRESULT>(ini_path.c_str());
    default:
        return 0;
    }
}

LRESULT PlayerStandin::fill_metadata(const extendedFileInfoStruct& request) const {
    if (request.filename == nullptr || request.metadata == nullptr || request.ret == nullptr ||
        request.retlen == 0) {
        return 0;
    }
    for (const PlaylistEntry& entry : playlist) {
        if (entry.file_name != request.filename) {
            continue;
        }
        const std::string* value = field_of(entry, request.metadata);
        if (value == nullptr) {
            return 0;
        }
        if (fill_metadata_without_nul) {
            for (size_t i = 0; i < request.retlen; ++i) {
                request.ret[i] = value->empty() ? 'x' : (*value)[i % value->size()];
            }
            return 1;
        }
        const size_t length = value->size() < request.retlen ? value->size() : request.retlen - 1;
        memcpy(request.ret, value->data(), length);
        request.ret[length] = '\0';
        return 1;
    }
    return 0;
}
