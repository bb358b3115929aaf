#pragma once

#include <string>

// The message the companion must receive for these values, the final NUL included, written
// out independently of the plugin's own code.
std::string expected_report(const std::string& title, const std::string& artist,
                            const std::string& album, const std::string& genre);
