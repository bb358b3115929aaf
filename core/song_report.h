#pragma once

#include <stddef.h>

#include "common/song_info.h"

// The fixed text is 229 bytes and each of the four values at most 1023, so the longest report,
// 4321 bytes and its NUL, always fits.
constexpr size_t REPORT_BUFFER_SIZE = 5120;
constexpr size_t MAILSLOT_PATH_SIZE = 1024;
constexpr unsigned long USER_NAME_SIZE = 256;

// "\\.\mailslot\<namespace>\report_song\<user name>", built once at start-up.
extern char mailslot_path[MAILSLOT_PATH_SIZE];

void make_mailslot_path();

// Formats the report for `song` into the one report buffer and returns that buffer.
const char* build_song_report(const SongInfo& song);

// Writes the report and its terminating NUL as one mailslot message. Fire and forget: when the
// companion is not running there is no mailslot, and when it has stopped reading its mailslot
// fills up; either way the report is lost without a word and without a wait.
void send_song_report(const char* report);
