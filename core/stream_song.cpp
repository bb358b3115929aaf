#include "core/stream_song.h"

#include <string.h>

#include "core/metadata_read.h"
#include "core/stream_url.h"
#include "plugin/host_interface.h"
#include "plugin/plugin_record.h"

namespace {

void copy_part(char (&field)[FIELD_SIZE], const char* start, size_t length) {
    memcpy(field, start, length);
    field[length] = '\0';
}

// "Artist - Title". A byte search is safe in code page 932: blank and hyphen are never the
// second byte of a double-byte character, so a " - " found is one. A title without " - " has no
// artist. A station that sends another code page (Latin-1's "é" is a lead byte here) can put a
// lead byte right before the " - ", which would then end the artist as half a character.
void split_title(const char (&title)[FIELD_SIZE], SongInfo& song) {
    const char* dash = strstr(title, " - ");
    if (dash == nullptr) {
        song.artist[0] = '\0';
        copy_part(song.title, title, strlen(title));
    } else {
        copy_part(song.artist, title, dash - title);
        copy_part(song.title, dash + 3, strlen(dash + 3));
        drop_half_character(song.artist);
    }
}

} // namespace

namespace {

// FNV-1a, 64 bits, over the name's code units.
template <typename Char> uint64_t name_key(const Char* name) {
    uint64_t key = 14695981039346656037u;
    for (; *name != 0; ++name) {
        key = (key ^ static_cast<uint64_t>(*name)) * 1099511628211u;
    }
    return key;
}

} // namespace

uint64_t entry_name_key(WPARAM position) {
    HWND player = plugin_record.hwndParent;
    if (const wchar_t* wide_name =
            player_text<wchar_t>(ask_player(player, IPC_GETPLAYLISTFILEW, position))) {
        return name_key(wide_name);
    }
    const char* name = player_text<char>(ask_player(player, IPC_GETPLAYLISTFILE, position));
    return name == nullptr ? 0 : name_key(name);
}

void read_stream_song(WPARAM position, SongInfo& song) {
    char title[FIELD_SIZE];
    // The MP3 plugin answers the station keys for every URL it plays (empty while it connects);
    // the Ogg Vorbis and Windows Media plugins answer 0.
    if (read_metadata_field(position, "streamtitle", title)) {
        split_title(title, song);
        read_metadata_field(position, "streamname", song.album);
        read_metadata_field(position, "streamgenre", song.genre);
        return;
    }
    // Players before 5.5 answer 1 to a request they do not know: no pointer.
    const wchar_t* shown =
        player_text<wchar_t>(ask_player(plugin_record.hwndParent, IPC_GET_PLAYING_TITLE));
    if (shown == nullptr) {
        return;
    }
    copy_as_ansi(shown, title);
    split_title(title, song);
    song.album[0] = '\0';
    song.genre[0] = '\0';
}
