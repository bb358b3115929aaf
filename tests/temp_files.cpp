#include "tests/temp_files.h"

#include <fstream>
#include <iterator>
#include <windows.h>

std::string temp_file_path(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string program_folder_path(const char* name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + name;
}

std::string read_file_once_written(const std::string& path) {
    for (int i = 0; i < 300 && read_file(path).empty(); ++i) {
        Sleep(100);
    }
    Sleep(500);
    return read_file(path);
}
