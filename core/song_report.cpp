#include "core/song_report.h"

#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "common/plugin_constants.h"

char mailslot_path[MAILSLOT_PATH_SIZE];

namespace {

char report_buffer[REPORT_BUFFER_SIZE];

// The values go in as the player's raw bytes: the companion expects exactly these, markup
// characters unescaped. The precision keeps every value within its field.
constexpr char REPORT_FORMAT[] = "<?xml version=\"1.0\" encoding=\"Shift-JIS\" ?>\n"
                                 "<reports>\n"
                                 "<report type=\"song\">\n"
                                 "<param key=\"song_title\">%.1023s</param>\n"
                                 "<param key=\"song_artist\">%.1023s</param>\n"
                                 "<param key=\"song_album\">%.1023s</param>\n"
                                 "<param key=\"song_genre\">%.1023s</param>\n"
                                 "</report>\n"
                                 "</reports>\n";

} // namespace

void make_mailslot_path() {
    char user_name[USER_NAME_SIZE] = "";
    DWORD size = USER_NAME_SIZE;
    if (!GetUserNameA(user_name, &size)) {
        user_name[0] = '\0';
    }
    user_name[USER_NAME_SIZE - 1] = '\0';
    snprintf(mailslot_path, sizeof mailslot_path, "\\\\.\\mailslot\\%s\\report_song\\%s",
             STATION_MAILSLOT_NAMESPACE, user_name);
}

const char* build_song_report(const SongInfo& song) {
    snprintf(report_buffer, sizeof report_buffer, REPORT_FORMAT, song.title, song.artist,
             song.album, song.genre);
    return report_buffer;
}

void send_song_report(const char* report) {
    HANDLE slot = CreateFileA(mailslot_path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (slot == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(slot, report, static_cast<DWORD>(strlen(report) + 1), &written, nullptr);
    CloseHandle(slot);
}
