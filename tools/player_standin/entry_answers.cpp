#include "tools/player_standin/entry_answers.h"

#include <string.h>

#include <type_traits>

#include <windows.h>

namespace {

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

} // namespace

std::wstring to_wide(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansi.size(), wide.data(), wide.size()));
    return wide;
}

std::string to_ansi(const std::wstring& wide) {
    std::string ansi(wide.size() * 2, '\0');
    ansi.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), wide.size(), ansi.data(), ansi.size(),
                                    nullptr, nullptr));
    return ansi;
}

std::wstring kept(const std::wstring& wide, const std::string& ansi) {
    return wide.empty() ? to_wide(ansi) : wide;
}

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
template std::optional<std::string> field_value<std::string>(const PlaylistEntry&, const char*);
template std::optional<std::wstring> field_value<std::wstring>(const PlaylistEntry&, const char*);

std::wstring tagged_title(const PlaylistEntry& entry) {
    const std::wstring title = kept(entry.wide_title, entry.title);
    const std::wstring artist = kept(entry.wide_artist, entry.artist);
    if (!title.empty()) {
        return artist.empty() ? title : artist + L" - " + title;
    }
    const std::wstring name = kept(entry.wide_file_name, entry.file_name);
    return name.substr(name.find_last_of(L"\\/") + 1);
}

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
template void copy_value<char>(const std::string&, char*, size_t, bool);
template void copy_value<wchar_t>(const std::wstring&, wchar_t*, size_t, bool);
