// The companion stand-in: owns the per-user mailslot the plugin reports to and prints every
// report as it arrives.
//
//   companion_standin [--raw] [--seconds N]   receive reports (for N seconds; default: until
//                                             stopped). --raw prints each message's exact
//                                             bytes, its final NUL included, and nothing else.
//   companion_standin --register [PATH]       record PATH (default: this program) as the
//                                             companion's "Application Path", in the registry
//                                             view of this build's kind (the 32-bit view for
//                                             the shipped plugin), so that the plugin starts it.

#include <stdlib.h>
#include <string.h>
#include <string>

#include <windows.h>

#include "tools/common/console_text.h"
#include "tools/companion_standin/station_mailslot.h"

namespace {

int register_application_path(const char* path) {
    char own_path[MAX_PATH];
    if (path == nullptr) {
        GetModuleFileNameA(nullptr, own_path, MAX_PATH);
        path = own_path;
    }
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\vorn\\vorn station", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        print_utf8("cannot open HKLM\\SOFTWARE\\vorn\\vorn station\n");
        return 1;
    }
    RegSetValueExA(key, "Application Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                   strlen(path) + 1);
    RegCloseKey(key);
    print_utf8(std::string("Application Path = ") + path + "\n");
    return 0;
}

void print_report(const std::string& message, int number) {
    // A report is its text and a NUL; show the text as the terminal reads it.
    std::string text = message;
    if (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    print_utf8("--- report " + std::to_string(number) + ", " + std::to_string(message.size()) +
               " bytes ---\n" + cp932_to_utf8(text) + "\n");
}

} // namespace

int main(int argc, char** argv) {
    bool raw = false;
    long seconds = -1;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--register") == 0) {
            return register_application_path(i + 1 < argc ? argv[i + 1] : nullptr);
        } else if (strcmp(argv[i], "--raw") == 0) {
            raw = true;
        } else if (strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = atol(argv[++i]);
        } else {
            const bool help = strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0 ||
                              strcmp(argv[i], "/?") == 0;
            print_utf8("usage: companion_standin [--raw] [--seconds N] | --register [PATH]\n");
            return help ? 0 : 2;
        }
    }

    const std::string path = station_mailslot_path();
    StationMailslot mailslot(path);
    if (!mailslot.is_open()) {
        // A second companion of the same user finds the name taken: a real one exits quietly.
        const bool taken = GetLastError() == ERROR_ALREADY_EXISTS;
        print_utf8((taken ? "another companion already receives on " : "cannot create ") + path +
                   "\n");
        return 1;
    }
    if (!raw) {
        print_utf8("companion stand-in: waiting for reports on " + path + "\n");
    }
    int received = 0;
    const DWORD start = GetTickCount();
    while (seconds < 0 || GetTickCount() - start < DWORD(seconds) * 1000) {
        for (const std::string& message : mailslot.take_all()) {
            if (raw) {
                print_bytes(message);
            } else {
                print_report(message, ++received);
            }
        }
        Sleep(50);
    }
    return 0;
}
