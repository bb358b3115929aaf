#pragma once

#include <windows.h>

#include "common/song_info.h"

// Reads one metadata field ("title", "artist", ...) of the playlist entry at `position` into
// `result`, in the ANSI code page; a field the player leaves unfilled reads as the empty string.
// An entry whose file name the ANSI code page cannot hold is read through the player's wide
// requests, since the ANSI name the player hands out for it names no file. A value never ends
// in half a double-byte character. An entry the player names no file for (an answer below
// 0x10000) is asked nothing more, and every field reads as empty. Returns whether the
// player answered (non-zero): for a key it does not know, an input plugin may answer 0. Where
// `is_stream` is given, it tells whether the name the player handed out is a network URL
// (stream_url.h), which costs no request of its own.
bool read_metadata_field(WPARAM position, const char* key, char (&result)[FIELD_SIZE],
                         bool* is_stream = nullptr);

// `value`, at most its first FIELD_SIZE - 1 units, as the player would have answered the ANSI
// request: characters the code page lacks become their nearest equivalent or "?", and what
// does not fit in FIELD_SIZE - 1 bytes is cut between two characters.
void copy_as_ansi(const wchar_t* value, char (&result)[FIELD_SIZE]);

// Drops a lead byte left at the end of `value` without its trail byte, so that the value never
// ends in half a double-byte character; every other byte stays as it is.
void drop_half_character(char (&value)[FIELD_SIZE]);
