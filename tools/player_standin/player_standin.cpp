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

// The metadata a player keeps for an entry: the ANSI text and what a Unicode player keeps
// instead.
struct Field {
    const char* key;
    std::string PlaylistEntry::*ansi;
    std::wstring PlaylistEntry::*wide;
};
const Field FIELDS[] = {
    {"Title", &PlaylistEntry::title, &PlaylistEntry::wide_title},
    {"Artist", &PlaylistEntry::artist, &PlaylistEntry::wide_artist},
    {"Album", &PlaylistEntry::album, &PlaylistEntry::wide_album},
    {"Genre", &PlaylistEntry::genre, &PlaylistEntry::wide_genre},
};

const Field* field_named(const wchar_t* key) {
    for (const Field& field : FIELDS) {
        if (std::wstring(field.key, field.key + strlen(field.key)) == key) {
            return &field;
        }
    }
    return nullptr;
}

const std::string* field_of(const PlaylistEntry& entry, const char* key) {
    for (const Field& field : FIELDS) {
        if (strcmp(field.key, key) == 0) {
            return &(entry.*field.ansi);
        }
    }
    return nullptr;
}

std::wstring to_wide(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansi.size(), wide.data(), wide.size()));
    return wide;
}

// As a Unicode player answers the ANSI requests: best fit or "?" for what the code page lacks.
std::string to_ansi(const std::wstring& wide) {
    std::string ansi(wide.size() * 2, '\0');
    ansi.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), wide.size(), ansi.data(), ansi.size(),
                                    nullptr, nullptr));
    return ansi;
}

// A Unicode player's text: its own UTF-16 where given, else the ANSI text converted.
std::wstring kept(const std::wstring& wide, const std::string& ansi) {
    return wide.empty() ? to_wide(ansi) : wide;
}

// The UTF-16 value of a field, or nothing for an unknown key.
std::optional<std::wstring> wide_field_of(const PlaylistEntry& entry, const std::wstring& key) {
    const Field* field = field_named(key.c_str());
    if (field == nullptr) {
        return std::nullopt;
    }
    return kept(entry.*field->wide, entry.*field->ansi);
}

// A request the player can answer: a file name, a key and room for the value.
template <typename Request> bool is_usable(const Request& request) {
    return request.filename != nullptr && request.metadata != nullptr && request.ret != nullptr &&
           request.retlen != 0;
}

// Copies at most retlen - 1 units and a NUL, or, for a misbehaving player, fills all retlen
// units with the value repeated and no NUL.
template <typename Char>
void copy_value(const std::basic_string<Char>& value, Char* ret, size_t retlen, bool without_nul) {
    if (without_nul) {
        for (size_t i = 0; i < retlen; ++i) {
            ret[i] = value.empty() ? Char('x') : value[i % value.size()];
        }
        return;
    }
    const size_t length = value.size() < retlen ? value.size() : retlen - 1;
    memcpy(ret, value.data(), length * sizeof(Char));
    ret[length] = Char(0);
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
    if (kind_ == WindowKind::Unicode) {
        if (const std::optional<LRESULT> answer = answer_unicode_request(wParam, operation)) {
            return *answer;
        }
    }
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
    case IPC_CB_MISC: // its own notification, not a request
        return 0;
    default:
        return 1; // what older players answer to requests they do not know
    }
}

// The requests a Unicode player answers from its UTF-16 names; nothing for the others, which
// it answers as every player does.
std::optional<LRESULT> PlayerStandin::answer_unicode_request(WPARAM wParam, LPARAM operation) {
    switch (operation) {
    case IPC_GETPLAYLISTFILE:
    case IPC_GETPLAYLISTFILEW:
        if (wParam >= playlist.size()) {
            return 0;
        }
        return answer_text(kept(playlist[wParam].wide_file_name, playlist[wParam].file_name),
                           operation == IPC_GETPLAYLISTFILEW, file_answer_);
    case IPC_GETINIFILE:
    case IPC_GETINIFILEW:
        if (raw_ini_answer) {
            return *raw_ini_answer;
        }
        return answer_text(kept(wide_ini_path, ini_path), operation == IPC_GETINIFILEW,
                           ini_answer_);
    case IPC_GET_EXTENDED_FILE_INFOW:
        return fill_metadata(*reinterpret_cast<const extendedFileInfoStructW*>(wParam));
    case IPC_GET_EXTENDED_FILE_INFO: {
        // The ANSI name back in UTF-16 for the lookup, the value out in the ANSI code page.
        const auto& request = *reinterpret_cast<const extendedFileInfoStruct*>(wParam);
        const auto value = is_usable(request)
                               ? wide_value(to_wide(request.filename), to_wide(request.metadata))
                               : std::nullopt;
        if (!value) {
            return 0;
        }
        copy_value(to_ansi(*value), request.ret, request.retlen, fill_metadata_without_nul);
        return 1;
    }
    default:
        return std::nullopt;
    }
}

// A pointer to the text, in UTF-16 or converted to the ANSI code page, held in `kept` until the
// text changes: a player's texts stay where they are while it runs.
LRESULT PlayerStandin::answer_text(const std::wstring& text, bool wide, KeptText& kept) {
    if (kept.wide != text) {
        kept.wide = text;
        kept.ansi = to_ansi(text);
    }
    return wide ? reinterpret_cast<LRESULT>(kept.wide.c_str())
                : reinterpret_cast<LRESULT>(kept.ansi.c_str());
}

// A Unicode player's lookup: by the exact UTF-16 name.
std::optional<std::wstring> PlayerStandin::wide_value(const std::wstring& file_name,
                                                      const std::wstring& key) const {
    for (const PlaylistEntry& entry : playlist) {
        if (kept(entry.wide_file_name, entry.file_name) == file_name) {
            return wide_field_of(entry, key);
        }
    }
    return std::nullopt;
}

LRESULT PlayerStandin::fill_metadata(const extendedFileInfoStructW& request) const {
    const auto value =
        is_usable(request) ? wide_value(request.filename, request.metadata) : std::nullopt;
    if (!value) {
        return 0;
    }
    copy_value(*value, request.ret, request.retlen, fill_metadata_without_nul);
    return 1;
}

LRESULT PlayerStandin::fill_metadata(const extendedFileInfoStruct& request) const {
    if (!is_usable(request)) {
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
        copy_value(*value, request.ret, request.retlen, fill_metadata_without_nul);
        return 1;
    }
    return 0;
}
