#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

// Text built piece by piece in a fixed buffer. Every append is bounded by the buffer, and the
// text always ends in a NUL.
struct BoundedText {
    char* data;
    size_t size; // of the buffer, the NUL included
    size_t length;
};

inline BoundedText start_text(char* buffer, size_t size) {
    buffer[0] = '\0';
    return {buffer, size, 0};
}

// Appends `piece` up to its NUL, but no more than `limit` bytes of it, and no more than fits.
inline void append_text(BoundedText& text, const char* piece, size_t limit = SIZE_MAX) {
    size_t length = 0;
    while (length < limit && piece[length] != '\0') {
        ++length;
    }
    const size_t room = text.size - 1 - text.length;
    if (length > room) {
        length = room;
    }
    memcpy(text.data + text.length, piece, length);
    text.length += length;
    text.data[text.length] = '\0';
}
