// Stands in for the companion program in the launcher tests: each start adds a line to
// "<own path>.ran", so a test can tell whether, and how often, it was started. Wide functions,
// so that it also works from a folder whose name the ANSI code page cannot hold.

#include <stdio.h>
#include <string.h>
#include <windows.h>

int main() {
    wchar_t marker[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(nullptr, marker, MAX_PATH);
    memcpy(marker + length, L".ran", 5 * sizeof(wchar_t));
    FILE* file = _wfopen(marker, L"ab");
    if (file == nullptr) {
        return 1;
    }
    fputs("started\n", file);
    fclose(file);
    return 0;
}
