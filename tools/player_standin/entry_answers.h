#pragma once

// A playlist entry and what the player answers about it, apart from any window: the value an
// input plugin gives for a metadata key, the texts a Unicode player keeps, and the title the
// player shows for an entry whose tags name it.
// - A Unicode player keeps its file names and metadata in UTF-16 and converts to the ANSI code
//   page for the ANSI requests; an older one keeps the ANSI bytes.
// - Metadata keys are compared without regard to case, as the player's input plugins compare
//   them; an entry can be claimed by one that knows only the lower-case names.

#include <stddef.h>

#include <optional>
#include <string>

#include "tools/player_standin/stream_station.h"

struct PlaylistEntry {
    // Raw bytes in the ANSI code page, as a player hands them out.
    std::string file_name;
    std::string title;
    std::string artist;
    std::string album;
    std::string genre;
    // What a Unicode player keeps instead, where the ANSI code page cannot hold it; where
    // empty, it keeps the ANSI text above, converted.
    std::wstring wide_file_name;
    std::wstring wide_title;
    std::wstring wide_artist;
    std::wstring wide_album;
    std::wstring wide_genre;
    // Claimed by an input plugin that compares keys case-sensitively and knows only "title",
    // "artist", "album" and "genre" (as Monkey's Audio's does): any other spelling of those
    // keys is answered with an empty value and success.
    bool lowercase_keys_only = false;
    // A stream, whose URL is file_name (and wide_file_name). The song's four fields above are
    // a podcast episode's tag, and stay empty for a station.
    std::optional<StreamStation> stream;
    // A URL entry with an extension hint (".OGG"): the player plays it through its local file
    // proxy, and names the playing file by the proxy's URL.
    std::wstring extension_hint;
};

// The ANSI code page's text in UTF-16.
std::wstring to_wide(const std::string& ansi);
// As a Unicode player answers the ANSI requests: best fit or "?" for what the code page lacks.
std::string to_ansi(const std::wstring& wide);
// A Unicode player's text: its own UTF-16 where given, else the ANSI text converted.
std::wstring kept(const std::wstring& wide, const std::string& ansi);

// The value the input plugin claiming `entry` answers for `key` from the entry's own fields:
// as a Unicode player keeps it (std::wstring) or as an older one does (std::string); nothing
// for an unknown key.
template <typename Text>
std::optional<Text> field_value(const PlaylistEntry& entry, const char* key);

// The title the player shows for an entry from its tags: "Artist - Title", the title alone, or,
// without a title, the file's name.
std::wstring tagged_title(const PlaylistEntry& entry);

// A value written into a request's buffer: at most retlen - 1 units and a NUL, or, for a
// misbehaving player, all retlen units filled with the value repeated and no NUL.
template <typename Char>
void copy_value(const std::basic_string<Char>& value, Char* ret, size_t retlen, bool without_nul);
