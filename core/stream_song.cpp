#include "core/stream_song.h"

#include <string.h>

#include "core/metadata_read.h"

namespace {

void copy_part(char (&field)[FIELD_SIZE], const char* start, size_t length) {
    memcpy(field, start, length);
    field[length] = '\0';
}

} // namespace

void read_stream_title(WPARAM position, char (&stream_title)[FIELD_SIZE]) {
    read_metadata_field(position, "streamtitle", stream_title);
}

void read_stream_song(WPARAM position, const char (&stream_title)[FIELD_SIZE], SongInfo& song) {
    // A byte search is safe in code page 932: blank and hyphen are never the second byte of a
    // double-byte character, so a " - " found is one.
    const char* dash = strstr(stream_title, " - ");
    if (dash == nullptr) {
        song.artist[0] = '\0';
        copy_part(song.title, stream_title, strlen(stream_title));
    } else {
        copy_part(song.artist, stream_title, dash - stream_title);
        copy_part(song.title, dash + 3, strlen(dash + 3));
    }
    read_metadata_field(position, "streamname", song.album);
    read_metadata_field(position, "streamgenre", song.genre);
}
