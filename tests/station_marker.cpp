// Stands in for the companion program in the launcher tests: each start adds a line to
// "<own path>.ran", so a test can tell whether, and how often, it was started.

#include <stdio.h>
#include <string.h>
#include <windows.h>

int main() {
    char marker[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameA(nullptr, marker, MAX_PATH);
    memcpy(marker + length, ".ran", 5);
    FILE* file = fopen(marker, "ab");
    if (file == nullptr) {
        return 1;
    }
    fputs("started\n", file);
    fclose(file);
    return 0;
}
