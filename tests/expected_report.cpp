#include "tests/expected_report.h"

#include <windows.h>

std::string expected_report(const std::string& title, const std::string& artist,
                            const std::string& album, const std::string& genre) {
    return "<?xml version=\"1.0\" encoding=\"Shift-JIS\" ?>\n<reports>\n<report type=\"song\">\n"
           "<param key=\"song_title\">" +
           title + "</param>\n<param key=\"song_artist\">" + artist +
           "</param>\n<param key=\"song_album\">" + album + "</param>\n<param key=\"song_genre\">" +
           genre + "</param>\n</report>\n</reports>\n" + '\0';
}

std::string as_ansi(const std::wstring& wide) {
    std::string ansi(wide.size() * 2 + 1, '\0');
    ansi.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), wide.size(), ansi.data(), ansi.size(),
                                    nullptr, nullptr));
    return ansi;
}
