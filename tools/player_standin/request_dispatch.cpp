// How the stand-in answers what reaches its window: the player's requests, the end of the
// Windows session, and the results a test scripts for other messages.

#include "tools/player_standin/player_standin.h"

#include <iterator>

#include "plugin/host_interface.h"

namespace {

// A request the player can answer: a file name, a key and room for the value.
template <typename Request> bool is_usable(const Request& request) {
    return request.filename != nullptr && request.metadata != nullptr && request.ret != nullptr &&
           request.retlen != 0;
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
    case IPC_GET_PLAYING_FILENAME:
        return answer_playing_file_name();
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

LRESULT PlayerStandin::answer_playing_title() {
    if (playing_title_answer) {
        return *playing_title_answer;
    }
    lstrcpynW(playing_title_buffer_, playing_title().c_str(), std::size(playing_title_buffer_));
    return reinterpret_cast<LRESULT>(playing_title_buffer_);
}

// The file that plays; an entry with an extension hint plays through the player's local proxy.
LRESULT PlayerStandin::answer_playing_file_name() {
    std::wstring name;
    if (const PlaylistEntry* entry = playing_entry()) {
        name = kept(entry->wide_file_name, entry->file_name);
        if (!entry->extension_hint.empty()) {
            name = L"http://127.0.0.1:48620/fileproxy?destination=" + name + L"?ext=" +
                   entry->extension_hint;
        }
    }
    lstrcpynW(playing_file_name_buffer_, name.c_str(), std::size(playing_file_name_buffer_));
    return reinterpret_cast<LRESULT>(playing_file_name_buffer_);
}

// What a lookup by file name can find: the list's entries, and a removed one that still plays.
std::vector<const PlaylistEntry*> PlayerStandin::named_entries() const {
    std::vector<const PlaylistEntry*> entries;
    for (const PlaylistEntry& entry : playlist) {
        entries.push_back(&entry);
    }
    if (removed_playing_) {
        entries.push_back(&*removed_playing_);
    }
    return entries;
}

// A Unicode player's lookup: by the exact UTF-16 name.
std::optional<std::wstring> PlayerStandin::wide_value(const std::wstring& file_name,
                                                      const std::string& key) const {
    for (const PlaylistEntry* named : named_entries()) {
        const PlaylistEntry& entry = *named;
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
    for (const PlaylistEntry* named : named_entries()) {
        const PlaylistEntry& entry = *named;
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
