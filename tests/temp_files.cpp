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

std::wstring temp_file_path(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

void write_file(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

std::string read_file(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string program_folder_path(const char* name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + name;
}

namespace {

template <typename Path> std::string read_once_written(const Path& path) {
    for (int i = 0; i < 300 && read_file(path).empty(); ++i) {
        Sleep(100);
    }
    Sleep(500);
    return read_file(path);
}

} // namespace

std::wstring program_folder_path(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\') + 1) + name;
}

std::string temp_copy_of_program(const char* name) {
    const std::string copy = temp_file_path(name);
    CopyFileA(program_folder_path(name).c_str(), copy.c_str(), FALSE);
    return copy;
}

std::string read_file_once_written(const std::string& path) {
    return read_once_written(path);
}

std::string read_file_once_written(const std::wstring& path) {
    return read_once_written(path);
}
