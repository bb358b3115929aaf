#pragma once

// Streams: playlist entries named by a network URL (see stream_url.h). Their songs can change
// inside one entry, announced only by the player's title notification, and what the player
// knows of the song depends on the input plugin that plays it:
// - a podcast episode with its own tags answers the four song keys, once the player has
//   connected and read them;
// - an MP3 or AAC station (SHOUTcast, Icecast) answers "streamtitle", the station's title, by
//   convention "Artist - Title", with "streamname" and "streamgenre";
// - an Ogg Vorbis or Windows Media station answers no key at all: its song is only in the title
//   the player shows, "Artist - Title" or a status text while it connects or buffers.

#include <stdint.h>
#include <windows.h>

#include "common/song_info.h"

// A key for the name of the playlist entry at `position`, as the player hands it out: entries
// of the same name have the same key, others (but for a chance of one in 2^64) another; 0 for
// a position without an entry.
uint64_t entry_name_key(WPARAM position);

// Fills `song` for the stream at `position` whose tags name no song: from the station's title,
// split at its first " - " (the artist before, the title after), with the station's name as the
// album and its genre as the genre; where the player has no station title, from the title it
// shows, split the same way, with no album or genre. Left as it is when the player has neither.
void read_stream_song(WPARAM position, SongInfo& song);
