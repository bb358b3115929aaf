#include "tools/common/console_text.h"

#include <windows.h>

namespace {

std::wstring to_utf16(const std::string& text, UINT code_page) {
    const int length = MultiByteToWideChar(code_page, 0, text.data(), text.size(), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(code_page, 0, text.data(), text.size(), wide.data(), length);
    return wide;
}

std::string from_utf16(const std::wstring& wide, UINT code_page) {
    const int length =
        WideCharToMultiByte(code_page, 0, wide.data(), wide.size(), nullptr, 0, nullptr, nullptr);
    std::string text(length, '\0');
    WideCharToMultiByte(code_page, 0, wide.data(), wide.size(), text.data(), length, nullptr,
                        nullptr);
    return text;
}

} // namespace

std::string utf8_to_cp932(const std::string& utf8) {
    return from_utf16(to_utf16(utf8, CP_UTF8), 932);
}

std::string cp932_to_utf8(const std::string& cp932) {
    return from_utf16(to_utf16(cp932, 932), CP_UTF8);
}

std::wstring utf8_to_utf16(const std::string& utf8) {
    return to_utf16(utf8, CP_UTF8);
}

std::string utf16_to_utf8(const std::wstring& utf16) {
    return from_utf16(utf16, CP_UTF8);
}

void print_utf8(const std::string& utf8) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode;
    if (GetConsoleMode(out, &mode)) {
        const std::wstring wide = to_utf16(utf8, CP_UTF8);
        DWORD written;
        WriteConsoleW(out, wide.data(), wide.size(), &written, nullptr);
    } else {
        print_bytes(utf8);
    }
}

void print_bytes(const std::string& bytes) {
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), bytes.size(), &written, nullptr);
}
