#include "common/ansi_code_page.h"

#include <string.h>
#include <windows.h>

bool survives_ansi_code_page(const wchar_t* name) {
    // Piece by piece, so that a name of any length needs no more than these buffers. A piece
    // may end inside a surrogate pair; each half then fails the round trip, which is right, as
    // no double-byte code page holds such a character. At worst the answer is "does not
    // survive", and the wide functions take a name that the ANSI ones could have taken too.
    constexpr int PIECE = 64;
    for (;;) {
        int length = 0;
        while (length < PIECE && name[length] != L'\0') {
            ++length;
        }
        if (length == 0) {
            return true;
        }
        char ansi[PIECE * 3]; // three bytes a UTF-16 unit at most, in any ANSI code page
        wchar_t back[PIECE];
        const int bytes =
            WideCharToMultiByte(CP_ACP, 0, name, length, ansi, sizeof ansi, nullptr, nullptr);
        if (bytes == 0 || MultiByteToWideChar(CP_ACP, 0, ansi, bytes, back, PIECE) != length ||
            memcmp(back, name, length * sizeof(wchar_t)) != 0) {
            return false;
        }
        name += length;
    }
}
