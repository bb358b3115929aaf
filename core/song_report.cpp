#include "core/song_report.h"

#include <string.h>
#include <windows.h>

#include "common/bounded_text.h"
#include "common/plugin_constants.h"

char mailslot_path[MAILSLOT_PATH_SIZE];

namespace {

char report_buffer[REPORT_BUFFER_SIZE];

// The report is these pieces with the four values between them. The values go in as the
// player's raw bytes: the companion expects exactly these, markup characters unescaped.
constexpr const char* REPORT_PIECES[] = {
    "<?xml version=\"1.0\" encoding=\"Shift-JIS\" ?>\n"
    "<reports>\n"
    "<report type=\"song\">\n"
    "<param key=\"song_title\">",
    "</param>\n"
    "<param key=\"song_artist\">",
    "</param>\n"
    "<param key=\"song_album\">",
    "</param>\n"
    "<param key=\"song_genre\">",
    "</param>\n"
    "</report>\n"
    "</reports>\n",
};

} // namespace

void make_mailslot_path() {
    char user_name[USER_NAME_SIZE] = "";
    DWORD size = USER_NAME_SIZE;
    if (!GetUserNameA(user_name, &size)) {
        user_name[0] = '\0';
    }
    user_name[USER_NAME_SIZE - 1] = '\0';
    BoundedText path = start_text(mailslot_path, sizeof mailslot_path);
    append_text(path, "\\\\.\\mailslot\\");
    append_text(path, STATION_MAILSLOT_NAMESPACE);
    append_text(path, "\\report_song\\");
    append_text(path, user_name);
}

const char* build_song_report(const SongInfo& song) {
    // Each value is read no further than its field, even without a NUL.
    const char* const values[] = {song.title, song.artist, song.album, song.genre};
    BoundedText report = start_text(report_buffer, sizeof report_buffer);
    for (size_t i = 0; i < 4; ++i) {
        append_text(report, REPORT_PIECES[i]);
        append_text(report, values[i], FIELD_SIZE - 1);
    }
    append_text(report, REPORT_PIECES[4]);
    return report_buffer;
}

void send_song_report(const char* report) {
    // Overlapped, because a plain write to a mailslot whose reader has stopped reading blocks
    // once the mailslot is full, and this runs on the player's UI thread.
    HANDLE slot = CreateFileA(mailslot_path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (slot == INVALID_HANDLE_VALUE) {
        return;
    }
    OVERLAPPED write = {};
    if (!WriteFile(slot, report, static_cast<DWORD>(strlen(report) + 1), nullptr, &write) &&
        GetLastError() == ERROR_IO_PENDING) {
        // The report is dropped whole, as when the companion is not running. The record must
        // outlive the write, so wait until the cancellation has finished.
        CancelIo(slot);
        DWORD written = 0;
        GetOverlappedResult(slot, &write, &written, TRUE);
    }
    CloseHandle(slot);
}
