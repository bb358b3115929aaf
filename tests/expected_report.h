#pragma once

#include <string>

// The message the companion must receive for these values, the final NUL included, written
// out independently of the plugin's own code.
std::string expected_report(const std::string& title, const std::string& artist,
                            const std::string& album, const std::string& genre);

// `wide` in the ANSI code page, as the player converts its answers to the ANSI requests.
std::string as_ansi(const std::wstring& wide);
