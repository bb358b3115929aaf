#pragma once

// Text for the stand-ins' terminals: they print UTF-8, and hand the plugin code page 932 as a
// Japanese Windows player does.

#include <string>

std::string utf8_to_cp932(const std::string& utf8);
std::string cp932_to_utf8(const std::string& cp932);
std::wstring utf8_to_utf16(const std::string& utf8);
std::string utf16_to_utf8(const std::wstring& utf16);

// Writes UTF-8 text to standard output as it is, or through the console when there is one.
void print_utf8(const std::string& utf8);
// Writes bytes to standard output unchanged.
void print_bytes(const std::string& bytes);
