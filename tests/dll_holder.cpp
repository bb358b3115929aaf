// Keeps a DLL loaded as a player does that the installer cannot see by its window: one started
// with another window class, or in another user's session.
//   dll_holder DLL FLAG   loads DLL, then makes the file FLAG and keeps DLL loaded until FLAG is
//                         gone, two minutes at most; exits 1 when it cannot load DLL

#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 3 || LoadLibraryA(argv[1]) == nullptr) {
        return 1;
    }
    CloseHandle(CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    for (int waited = 0; waited < 1200 && GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES;
         ++waited) {
        Sleep(100);
    }
    return 0;
}
