#include "core/metadata_read.h"

#include <string.h>

#include "common/ansi_code_page.h"
#include "core/stream_url.h"
#include "plugin/host_interface.h"
#include "plugin/plugin_record.h"

namespace {

// How many UTF-16 units of `value` make at most FIELD_SIZE - 1 bytes in the ANSI code page,
// without cutting a character: a double-byte character or a surrogate pair stays whole or goes.
int units_that_fit(const wchar_t* value, int length) {
    int units = 0;
    int bytes = 0;
    while (units < length) {
        const int step = IS_HIGH_SURROGATE(value[units]) && units + 1 < length &&
                                 IS_LOW_SURROGATE(value[units + 1])
                             ? 2
                             : 1;
        bytes += WideCharToMultiByte(CP_ACP, 0, value + units, step, nullptr, 0, nullptr, nullptr);
        if (bytes > static_cast<int>(FIELD_SIZE) - 1) {
            break;
        }
        units += step;
    }
    return units;
}

LRESULT read_wide_metadata_field(HWND player, const wchar_t* file_name, const char* key,
                                 char (&result)[FIELD_SIZE]) {
    wchar_t wide_key[16];
    MultiByteToWideChar(CP_ACP, 0, key, -1, wide_key, sizeof wide_key / sizeof *wide_key);
    wchar_t value[FIELD_SIZE] = {};
    extendedFileInfoStructW request = {file_name, wide_key, value, FIELD_SIZE};
    const LRESULT answer =
        ask_player(player, IPC_GET_EXTENDED_FILE_INFOW, reinterpret_cast<WPARAM>(&request));
    // A value that fills the whole buffer without a NUL counts as its first FIELD_SIZE - 1 units.
    value[FIELD_SIZE - 1] = L'\0';
    copy_as_ansi(value, result);
    return answer;
}

} // namespace

// An input plugin that answers the ANSI request itself may cut a long value byte by byte, as
// lstrcpynA does, and leave the first byte of a double-byte character at its end: in the report
// that byte would swallow the '<' of the closing tag. The value is walked from its first byte,
// since a trail byte can have a lead byte's value (0x9F in 0x88 0x9F); a whole value keeps all.
void drop_half_character(char (&value)[FIELD_SIZE]) {
    for (size_t i = 0; value[i] != '\0'; ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(value[i]))) {
            if (value[i + 1] == '\0') {
                value[i] = '\0';
                return;
            }
            ++i;
        }
    }
}

void copy_as_ansi(const wchar_t* value, char (&result)[FIELD_SIZE]) {
    int length = 0;
    while (length < static_cast<int>(FIELD_SIZE) - 1 && value[length] != L'\0') {
        ++length;
    }
    int units = length;
    if (WideCharToMultiByte(CP_ACP, 0, value, length, nullptr, 0, nullptr, nullptr) >
        static_cast<int>(FIELD_SIZE) - 1) {
        units = units_that_fit(value, length);
    }
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, value, units, result, FIELD_SIZE - 1, nullptr, nullptr);
    result[bytes] = '\0';
}

bool read_metadata_field(WPARAM position, const char* key, char (&result)[FIELD_SIZE],
                         bool* is_stream) {
    memset(result, 0, FIELD_SIZE);
    HWND player = plugin_record.hwndParent;
    const wchar_t* wide_name =
        player_text<wchar_t>(ask_player(player, IPC_GETPLAYLISTFILEW, position));
    const bool wide_road = wide_name != nullptr && !survives_ansi_code_page(wide_name);
    const char* file_name =
        wide_road ? nullptr : player_text<char>(ask_player(player, IPC_GETPLAYLISTFILE, position));
    if (is_stream != nullptr) {
        *is_stream = wide_name != nullptr ? is_stream_url(wide_name) : is_stream_url(file_name);
    }
    if (wide_road) {
        return read_wide_metadata_field(player, wide_name, key, result) != 0;
    }
    // No name: the list was emptied under the playing song. Older players crash on a metadata
    // request without a file name, so none is sent and the field stays empty.
    if (file_name == nullptr) {
        return false;
    }
    extendedFileInfoStruct request = {file_name, key, result, FIELD_SIZE};
    const LRESULT answer =
        ask_player(player, IPC_GET_EXTENDED_FILE_INFO, reinterpret_cast<WPARAM>(&request));
    // A player that fills the whole buffer leaves no NUL; the field still ends in its buffer.
    result[FIELD_SIZE - 1] = '\0';
    drop_half_character(result);
    return answer != 0;
}
