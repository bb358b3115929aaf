#pragma once

#include <windows.h>

#include "common/song_info.h"

// Reads one metadata field ("title", "artist", ...) of the playlist entry at `position` into
// `result`, in the ANSI code page; a field the player leaves unfilled reads as the empty string.
// An entry whose file name the ANSI code page cannot hold is read through the player's wide
// requests, since the ANSI name the player hands out for it names no file.
void read_metadata_field(WPARAM position, const char* key, char (&result)[FIELD_SIZE]);
