#pragma once

// Whether an entry's name, as the player hands it out (ANSI or UTF-16), is a network URL: a
// scheme of letters, digits, "+", "-" and "." that starts with a letter, then "://". A scheme
// of one letter is a drive ("C://"), and "cda://" (a track of an audio CD) and "file://" name
// what is on this machine: those are files.
template <typename Char> bool is_stream_url(const Char* name) {
    if (name == nullptr) {
        return false;
    }
    const auto lower = [](Char c) { return c >= 'A' && c <= 'Z' ? Char(c - 'A' + 'a') : c; };
    int length = 0;
    for (;; ++length) {
        const Char c = lower(name[length]);
        const bool letter = c >= 'a' && c <= 'z';
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !(length > 0 && other)) {
            break;
        }
    }
    if (length < 2 || name[length] != ':' || name[length + 1] != '/' || name[length + 2] != '/') {
        return false;
    }
    const auto scheme_is = [&](const char* local) {
        int i = 0;
        while (i < length && local[i] != '\0' && lower(name[i]) == Char(local[i])) {
            ++i;
        }
        return i == length && local[i] == '\0';
    };
    return !scheme_is("cda") && !scheme_is("file");
}
