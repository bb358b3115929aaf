#include "tools/player_standin/player_standin.h"

#include <string.h>

#include <iterator>
#include <type_traits>

#include "plugin/host_interface.h"

namespace {

constexpr wchar_t PLAYER_WINDOW_CLASS[] = L"Winamp v1.x";

// The metadata a player keeps for an entry: the ANSI text and what a Unicode player keeps
// instead.
struct Field {
    const char* key;
    std::string PlaylistEntry::*ansi;
    std::wstring PlaylistEntry::*wide;
};
const Field FIELDS[] = {
    {"title", &PlaylistEntry::title, &PlaylistEntry::wide_title},
    {"artist", &PlaylistEntry::artist, &PlaylistEntry::wide_artist},
    {"album", &PlaylistEntry::album, &PlaylistEntry::wide_album},
    {"genre", &PlaylistEntry::genre, &PlaylistEntry::wide_genre},
};

// The field `key` asks for, as the input plugin claiming the entry reads keys: without regard
// to case. `other_spelling` is set where that plugin knows only the lower-case names and the
// key is spelled otherwise. nullptr for a key it does not know.
const Field* field_asked(const PlaylistEntry& entry, const char* key, bool& other_spelling) {
    for (const Field& field : FIELDS) {
        if (_stricmp(field.key, key) == 0) {
            other_spelling = entry.lowercase_keys_only && strcmp(field.key, key) != 0;
            return &field;
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

// The value the input plugin claiming `entry` answers for `key`: as a Unicode player keeps it
// (std::wstring) or as an older one does (std::string); nothing for an unknown key.
template <typename Text>
std::optional<Text> field_value(const PlaylistEntry& entry, const char* key) {
    bool other_spelling = false;
    const Field* field = field_asked(entry, key, other_spelling);
    if (field == nullptr) {
        return std::nullopt;
    }
    if (other_spelling) {
        return Text();
    }
    if constexpr (std::is_same_v<Text, std::string>) {
        return entry.*field->ansi;
    } else {
        return kept(entry.*field->wide, entry.*field->ansi);
    }
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

// The player's answer to a metadata request: 1 with the value written, 0 when it has none.
template <typename Request, typename Char>
LRESULT answer_value(const Request& request, const std::optional<std::basic_string<Char>>& value,
                     bool without_nul) {
    if (!value) {
        return 0;
    }
    copy_value(*value, request.ret, request.retlen, without_nul);
    return 1;
}

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

void PlayerStandin::post_notification(WPARAM kind) {
    PostMessageW(window_, WM_WA_IPC, kind, IPC_CB_MISC);
}

void PlayerStandin::play(LRESULT index) {
    if (play_status != PLAYER_STOPPED) {
        post_notification(IPC_CB_MISC_TITLE);
        post_notification(IPC_CB_MISC_STATUS);
    }
    list_pos = index;
    play_status = PLAYER_PLAYING;
    stream_.start();
    post_notification(IPC_CB_MISC_TITLE);
    post_notification(IPC_CB_MISC_TITLE_RATING);
    post_notification(IPC_CB_MISC_TITLE);
    post_notification(IPC_CB_MISC_STATUS);
}

void PlayerStandin::pause() {
    play_status = PLAYER_PAUSED;
    post_notification(IPC_CB_MISC_TITLE);
    post_notification(IPC_CB_MISC_STATUS);
    post_notification(IPC_CB_MISC_PAUSE);
}

void PlayerStandin::resume() {
    play_status = PLAYER_PLAYING;
    post_notification(IPC_CB_MISC_TITLE);
    post_notification(IPC_CB_MISC_STATUS);
    post_notification(IPC_CB_MISC_UNPAUSE);
}

void PlayerStandin::stop() {
    play_status = PLAYER_STOPPED;
    post_notification(IPC_CB_MISC_TITLE);
    post_notification(IPC_CB_MISC_STATUS);
}

void PlayerStandin::pass_time(int seconds) {
    for (int i = 0; i < seconds; ++i) {
        const PlaylistEntry* stream = play_status == PLAYER_PLAYING ? playing_stream() : nullptr;
        if (stream != nullptr && stream_.play_second(*stream->stream)) {
            post_notification(IPC_CB_MISC_TITLE);
        }
    }
}

std::wstring PlayerStandin::playing_title() const {
    if (list_pos < 0 || size_t(list_pos) >= playlist.size()) {
        return L"";
    }
    const PlaylistEntry& entry = playlist[list_pos];
    const std::wstring name = kept(entry.wide_file_name, entry.file_name);
    if (entry.stream) {
        if (playing_stream() != &entry) {
            return name;
        }
        if (!stream_.tags_read(*entry.stream)) {
            return stream_.shown_title(*entry.stream, name);
        }
    }
    const std::wstring title = kept(entry.wide_title, entry.title);
    const std::wstring artist = kept(entry.wide_artist, entry.artist);
    if (!title.empty()) {
        return artist.empty() ? title : artist + L" - " + title;
    }
    return name.substr(name.find_last_of(L"\\/") + 1);
}

LRESULT PlayerStandin::answer_playing_title() {
    if (playing_title_answer) {
        return *playing_title_answer;
    }
    lstrcpynW(playing_title_buffer_, playing_title().c_str(), std::size(playing_title_buffer_));
    return reinterpret_cast<LRESULT>(playing_title_buffer_);
}

// The entry playing or paused, if it is a stream.
const PlaylistEntry* PlayerStandin::playing_stream() const {
    if (play_status == PLAYER_STOPPED || list_pos < 0 || size_t(list_pos) >= playlist.size() ||
        !playlist[list_pos].stream) {
        return nullptr;
    }
    return &playlist[list_pos];
}

// A stream is answered only while it plays: a podcast episode from its tag once the player has
// read it, every key else as its input plugin answers it.
std::optional<std::wstring> PlayerStandin::stream_value(const PlaylistEntry& entry,
                                                        const char* key) const {
    const PlaylistEntry* playing = playing_stream();
    if (playing == nullptr || playing->file_name != entry.file_name) {
        return std::nullopt;
    }
    if (stream_.tags_read(*entry.stream)) {
        if (const auto tag = field_value<std::wstring>(entry, key)) {
            return tag;
        }
    }
    return stream_.value(*entry.stream, kept(entry.wide_file_name, entry.file_name), key);
}

void PlayerStandin::notify_status_changed() {
    SendMessageA(window_, WM_WA_IPC, IPC_CB_MISC_STATUS, IPC_CB_MISC);
}

void PlayerStandin::call_quit_once() {
    if (!quit_called_ && quit_plugins) {
        quit_called_ = true;
        quit_plugins();
    }
}

void PlayerStandin::exit() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    call_quit_once();
}

void PlayerStandin::end_session() {
    SendMessageW(window_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageW(window_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
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
    if (message == WM_ENDSESSION && wParam) {
        stop();
        call_quit_once();
        return 0;
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
        return answer_file_name(wParam, false);
    case IPC_GET_EXTENDED_FILE_INFO: {
        const auto& request = *reinterpret_cast<const extendedFileInfoStruct*>(wParam);
        return answer_value(request,
                            is_usable(request) ? ansi_value(request.filename, request.metadata)
                                               : std::nullopt,
                            fill_metadata_without_nul);
    }
    case IPC_GETINIFILE:
        if (raw_ini_answer) {
            return *raw_ini_answer;
        }
        return reinterpret_cast<LRESULT>(ini_path.c_str());
    case IPC_GET_PLAYING_TITLE:
        return answer_playing_title();
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
    case IPC_GETPLAYLISTFILEW:
        return answer_file_name(wParam, true);
    case IPC_GETINIFILE:
    case IPC_GETINIFILEW:
        if (raw_ini_answer) {
            return *raw_ini_answer;
        }
        return answer_text(kept(wide_ini_path, ini_path), operation == IPC_GETINIFILEW,
                           ini_answer_);
    case IPC_GET_EXTENDED_FILE_INFOW: {
        const auto& request = *reinterpret_cast<const extendedFileInfoStructW*>(wParam);
        return answer_value(request,
                            is_usable(request)
                                ? wide_value(request.filename, to_ansi(request.metadata))
                                : std::nullopt,
                            fill_metadata_without_nul);
    }
    case IPC_GET_EXTENDED_FILE_INFO: {
        // The ANSI name back in UTF-16 for the lookup, the value out in the ANSI code page.
        const auto& request = *reinterpret_cast<const extendedFileInfoStruct*>(wParam);
        const auto value = is_usable(request)
                               ? wide_value(to_wide(request.filename), request.metadata)
                               : std::nullopt;
        return answer_value(request, value ? std::optional(to_ansi(*value)) : std::nullopt,
                            fill_metadata_without_nul);
    }
    default:
        return std::nullopt;
    }
}

// The entry's file name in the request's own buffer, overwriting the previous answer. A
// Unicode player's ANSI answer has "?" for every character the code page lacks.
LRESULT PlayerStandin::answer_file_name(WPARAM index, bool wide) {
    if (index >= playlist.size()) {
        return 0;
    }
    const PlaylistEntry& entry = playlist[index];
    if (wide) {
        lstrcpynW(wide_file_name_buffer_, kept(entry.wide_file_name, entry.file_name).c_str(),
                  std::size(wide_file_name_buffer_));
        return reinterpret_cast<LRESULT>(wide_file_name_buffer_);
    }
    if (kind_ == WindowKind::Ansi) {
        lstrcpynA(file_name_buffer_, entry.file_name.c_str(), sizeof file_name_buffer_);
    } else if (!WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS,
                                    kept(entry.wide_file_name, entry.file_name).c_str(), -1,
                                    file_name_buffer_, sizeof file_name_buffer_, nullptr,
                                    nullptr)) {
        file_name_buffer_[0] = '\0';
    }
    return reinterpret_cast<LRESULT>(file_name_buffer_);
}

// A pointer to the text, in UTF-16 or converted to the ANSI code page, held in `kept` until the
// text changes: the player's ini path stays where it is while it runs.
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
                                                      const std::string& key) const {
    for (const PlaylistEntry& entry : playlist) {
        if (kept(entry.wide_file_name, entry.file_name) == file_name) {
            return entry.stream ? stream_value(entry, key.c_str())
                                : field_value<std::wstring>(entry, key.c_str());
        }
    }
    return std::nullopt;
}

// An older player's lookup: by the exact ANSI name.
std::optional<std::string> PlayerStandin::ansi_value(const std::string& file_name,
                                                     const char* key) const {
    for (const PlaylistEntry& entry : playlist) {
        if (entry.file_name != file_name) {
            continue;
        }
        if (!entry.stream) {
            return field_value<std::string>(entry, key);
        }
        const auto value = stream_value(entry, key);
        return value ? std::optional(to_ansi(*value)) : std::nullopt;
    }
    return std::nullopt;
}
