#include "tools/player_standin/player_standin.h"

#include <string.h>

#include "plugin/host_interface.h"

namespace {

constexpr char WINDOW_CLASS[] = "VornPlayerStandin";

void register_window_class(WNDPROC procedure) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = WINDOW_CLASS;
    RegisterClassA(&window_class); // fails harmlessly when already registered
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

PlayerStandin::PlayerStandin() {
    register_window_class(window_proc);
    window_ = CreateWindowExA(0, WINDOW_CLASS, "player stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                              300, nullptr, nullptr, GetModuleHandleA(nullptr), this);
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

LRESULT CALLBACK PlayerStandin::window_proc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PlayerStandin*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    self->messages.push_back({message, wParam, lParam});
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
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
    return DefWindowProcA(window, message, wParam, lParam);
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
