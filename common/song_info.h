#pragma once

#include <stddef.h>

// Room for one text field: at most 1023 bytes and the terminating NUL.
constexpr size_t FIELD_SIZE = 1024;

// One song as the player describes it. The bytes are the player's own, in its ANSI code page
// (code page 932 on the Japanese Windows the plugin is for); nothing converts, trims or escapes
// them, and each field is NUL-terminated within its 1024 bytes.
struct SongInfo {
    char title[FIELD_SIZE];
    char artist[FIELD_SIZE];
    char album[FIELD_SIZE];
    char genre[FIELD_SIZE];
};
