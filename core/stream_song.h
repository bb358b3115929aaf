#pragma once

// Internet radio. A stream is one playlist entry, named by its URL, whose songs change inside
// it. The player has no title or artist for it; it has the station's current title, by
// convention "Artist - Title", and the station's name and genre, under keys of their own.

#include <windows.h>

#include "common/song_info.h"

// The station's current title, as the player has it for the playing stream at `position`;
// empty while the player is still connecting.
void read_stream_title(WPARAM position, char (&stream_title)[FIELD_SIZE]);

// Fills `song` from `stream_title` and the station at `position`: the artist is what comes
// before the first " - ", the title what follows; the station's name is the album, its genre
// the genre. A title without " - " has no artist.
void read_stream_song(WPARAM position, const char (&stream_title)[FIELD_SIZE], SongInfo& song);
